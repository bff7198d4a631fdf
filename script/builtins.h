// The built-in library: the prototype values behind declarations (`int n`),
// the global functions and the library objects, all registered as
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
// The library objects beyond those seven, registered after them so that the
// first seven keep their place: text, lists, numbers, random numbers, files
// on disk and dates.
void registerStrings(const Ref& global);
void registerLists(const Ref& global);
void registerNum(const Ref& global);
void registerRandom(const Ref& global);
void registerFs(const Ref& global);
void registerDate(const Ref& global);

} // namespace Kel::builtins
