// The built-in library: the prototype values behind declarations (`int n`),
// the global functions and the seven library objects, all registered as
// ordinary members of the process-wide global object.
#pragma once

#include "holder.h"

namespace Kel::builtins {

// Registers everything into `global` in the library's fixed order. Calling it
// again (every interpreter does) re-binds the same names.
void registerAll(const Ref& global);

// One registration per library, in the order registerAll uses them.
void registerCore(const Ref& global);
void registerStrlib(const Ref& global);
void registerContainers(const Ref& global);
void registerFiles(const Ref& global);
void registerTimeAndMath(const Ref& global);

} // namespace Kel::builtins
