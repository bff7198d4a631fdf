// Globals are copied value by value with the interpreter's own clone, so a
// restored global shares nothing with what the play did to it.
#include "game/player/GlobalSnapshot.h"

#include "env.h"
#include "member_table.h"
#include "object.h"

#include <set>

namespace Kura {

namespace {

using Kel::variable::Variable::vObject;

vObject* GlobalObject() {
    return dynamic_cast<vObject*>(Kel::Env::global().value());
}

// Host functions and native handles are the host's, not the script's.
bool IsScriptValue(const Kel::Holder* holder) {
    const int type = holder->value()->typeCode();
    return type != Kel::variable::Variable::TYPE_CFUNCTION &&
           type != Kel::variable::Variable::TYPE_CMETHOD &&
           type != Kel::variable::Variable::TYPE_CPOINTER &&
           type != Kel::variable::Variable::TYPE_BIND_FUNCTION &&
           type != Kel::variable::Variable::TYPE_BIND_METHOD;
}

} // namespace

void GlobalSnapshot::take() {
    m_Values.clear();
    if (vObject* global = GlobalObject()) {
        global->members().forEach([this](const Kel::MemberTable::Entry& entry) {
            m_Values.emplace_back(std::string(entry.name.view()),
                                  Kel::Ref::adopt(entry.value->cloneHolder()));
        });
    }
    m_Taken = true;
}

void GlobalSnapshot::restore() const {
    vObject* global = GlobalObject();
    if (global == nullptr || !m_Taken) return;
    std::set<std::string> kept;
    for (const auto& [name, value] : m_Values)
        kept.insert(name);
    std::vector<std::string> added;
    global->members().forEach([&](const Kel::MemberTable::Entry& entry) {
        if (!kept.count(std::string(entry.name.view()))) added.emplace_back(entry.name.view());
    });
    for (const std::string& name : added)
        global->removeMember(name);
    for (const auto& [name, value] : m_Values) {
        Kel::Holder* holder = global->findMember(name);
        if (holder == nullptr)
            global->setMember(name, Kel::Ref::adopt(value->cloneHolder()));
        else if (IsScriptValue(value.get()))
            holder->replaceValue(value.value()->clone());
    }
    // Lookups remembered by running code may point into the values replaced.
    Kel::MemberTable::bindingsChanged();
}

} // namespace Kura
