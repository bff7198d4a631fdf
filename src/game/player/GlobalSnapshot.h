// The script globals as a play found them. Every interpreter shares one global
// object, which the settings and contents scripts fill and the scenario then
// changes; going back to a play's beginning puts it back as it was.
#pragma once

#include "holder.h"

#include <string>
#include <utility>
#include <vector>

namespace Kura {

class GlobalSnapshot {
public:
    void take(); // copies of every global's value
    bool isTaken() const { return m_Taken; }
    // Names added since are removed, the others get copies of their values;
    // bound host functions stay as they are, since no script can change them.
    void restore() const;

private:
    std::vector<std::pair<std::string, Kel::Ref>> m_Values;
    bool m_Taken = false;
};

} // namespace Kura
