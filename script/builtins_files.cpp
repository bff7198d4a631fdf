// file and binary: reading text and binary files from scripts. A file object
// keeps its state in two members, the open file and its name. The open file is
// held as a token that this library maps to the C stream, so a copied object
// or a closed one can never reach a stream twice or after it was closed.
#include "builtins.h"
#include "builtins_support.h"

#include "object.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <sys/stat.h>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

constexpr const char* FILE_MEMBER = "$$__FILE*fp__$$";
constexpr const char* NAME_MEMBER = "name";
// Text is read in pieces of this size, so a huge count costs only what the
// file really holds.
constexpr size_t READ_CHUNK = 64 * 1024;
constexpr size_t WORD_BYTES = 4;

// Streams opened by scripts, by token. Tokens are never reused.
class OpenFiles {
public:
    void* add(FILE* stream) {
        uintptr_t token = m_next++;
        m_streams[token] = stream;
        return reinterpret_cast<void*>(token);
    }
    FILE* find(void* token) const {
        auto found = m_streams.find(reinterpret_cast<uintptr_t>(token));
        return found == m_streams.end() ? nullptr : found->second;
    }
    void close(void* token) {
        auto found = m_streams.find(reinterpret_cast<uintptr_t>(token));
        if (found == m_streams.end()) return;
        std::fclose(found->second);
        m_streams.erase(found);
    }

private:
    std::map<uintptr_t, FILE*> m_streams;
    uintptr_t m_next = 1;
};

// Never destroyed: objects released during the last collection at exit may
// still close their files.
OpenFiles& openFiles() {
    static OpenFiles* files = new OpenFiles;
    return *files;
}

// The file object and the method's own argument of a native method call.
struct FileCall {
    Ref object;
    Ref argument;
};

FileCall fileCall(Holder* self, const Ref& argument) {
    if (self) return {Ref(followPointers(self)), argument};
    Ref first = argumentAt(argument, 0);
    return {Ref(followPointers(first.get())), argumentAt(argument, 1)};
}

void* tokenOf(Holder* object) {
    Holder* member = object->value()->findMember(FILE_MEMBER);
    return member ? member->value()->nativePointer() : nullptr;
}

FILE* streamOf(Holder* object) {
    return openFiles().find(tokenOf(object));
}

void setState(Holder* object, void* token, std::string_view name) {
    object->value()->setMember(FILE_MEMBER, token ? Ref(new vCPointer(token)) : makeInt(0));
    object->value()->setMember(NAME_MEMBER, makeString(name));
}

void closeHeld(Holder* object) {
    openFiles().close(tokenOf(object));
    setState(object, nullptr, "");
}

// open with an object reopens that object; without one it makes a new file
// object with `addMethods` (the library's method set) and answers a pointer to it,
// or int 0 when the file cannot be opened.
Ref openFile(Holder* self, const Ref& argument, const char* mode,
             void (*addMethods)(const Ref& cls)) {
    SharedString path = argument.value()->toString();
    if (self) {
        Holder* object = followPointers(self);
        closeHeld(object);
        FILE* stream = std::fopen(path.c_str(), mode);
        if (stream)
            setState(object, openFiles().add(stream), path.view());
        else
            object->value()->setMember(FILE_MEMBER, Ref(new vCPointer(nullptr)));
        return makePointer(object);
    }
    FILE* stream = std::fopen(path.c_str(), mode);
    if (!stream) return makeInt(0);
    Ref cls = makeObject();
    addMethods(cls);
    Ref instance = instantiateScript(cls);
    setState(instance.get(), openFiles().add(stream), path.view());
    return makePointer(instance.get());
}

Ref closeFile(Holder* self, const Ref& argument) {
    FileCall call = fileCall(self, argument);
    closeHeld(call.object.get());
    return argument;
}

// Bytes left between the position and the end of a regular file; for a
// stream without an end (a pipe, a device) as many as were asked for.
size_t bytesLeft(FILE* stream, size_t wanted) {
    struct stat status;
    long position = std::ftell(stream);
    if (position < 0 || ::fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode))
        return wanted;
    size_t left = status.st_size > position ? static_cast<size_t>(status.st_size - position) : 0;
    return left < wanted ? left : wanted;
}

// Reads up to `wanted` bytes in pieces, handing each piece to `keep`; stops
// early at the end of the file. Answers the number of bytes read.
template <class Keep> size_t readPieces(FILE* stream, size_t wanted, Keep&& keep) {
    char piece[READ_CHUNK];
    size_t total = 0;
    while (total < wanted) {
        size_t size = wanted - total < READ_CHUNK ? wanted - total : READ_CHUNK;
        size_t got = std::fread(piece, 1, size, stream);
        keep(std::string_view(piece, got));
        total += got;
        if (got < size) break;
    }
    return total;
}

// The text is a C string: it ends at the first zero byte. Bytes behind it are
// read (the position moves on) but not kept, so reading a device of zeros
// costs no memory.
Ref readText(Holder* self, const Ref& argument) {
    FileCall call = fileCall(self, argument);
    FILE* stream = streamOf(call.object.get());
    int32_t wanted = call.argument.value()->toInt();
    if (!stream || wanted <= 0) return makeString("");
    std::string text;
    bool ended = false;
    bool tooLong = false;
    readPieces(stream, bytesLeft(stream, static_cast<size_t>(wanted)), [&](std::string_view piece) {
        if (ended) return;
        size_t zero = piece.find('\0');
        ended = zero != std::string_view::npos;
        std::string_view kept = piece.substr(0, zero);
        tooLong = tooLong || text.size() + kept.size() > SharedString::MAX_LENGTH;
        if (!tooLong) text.append(kept);
    });
    if (tooLong)
        return failure("file.read", "the text is longer than %u bytes", SharedString::MAX_LENGTH);
    return makeString(text);
}

// A new list with a "length" member holding its element count.
Ref withLength(Ref list) {
    int count = list.value()->count();
    list.value()->setMember("length", makeInt(count));
    return list;
}

// The raw bytes of `count` items of `itemBytes` each, for binary's reads. A
// list may hold no more than MAX_ELEMENTS items; the check comes before
// anything is read from a regular file, and after at most one item too many
// from a stream. `function` names the read in the diagnostic.
bool readItems(FILE* stream, int32_t count, size_t itemBytes, std::string& bytes,
               const char* function) {
    size_t items = bytesLeft(stream, static_cast<size_t>(count) * itemBytes) / itemBytes;
    size_t allowed = static_cast<size_t>(MAX_ELEMENTS);
    if (items > allowed) {
        failure(function, "%zu values are more than a list may hold (%d)", items, MAX_ELEMENTS);
        return false;
    }
    bytes.reserve(items * itemBytes);
    readPieces(stream, items * itemBytes, [&](std::string_view piece) { bytes.append(piece); });
    return true;
}

// A list of hex values read `itemBytes` at a time, little-endian; an item cut
// short by the end of the file is dropped. Elements are made once the bytes
// are in, so the list is sized exactly once.
Ref readHex(Holder* self, const Ref& argument, size_t itemBytes, const char* function) {
    FileCall call = fileCall(self, argument);
    FILE* stream = streamOf(call.object.get());
    int32_t wanted = call.argument.value()->toInt();
    Ref list = makeObject();
    if (!stream || wanted <= 0) return list;
    std::string bytes;
    if (!readItems(stream, wanted, itemBytes, bytes, function)) return makeEmpty();
    std::vector<Ref>& items = static_cast<vObject*>(list.value())->elements();
    items.reserve(bytes.size() / itemBytes);
    for (size_t at = 0; at + itemBytes <= bytes.size(); at += itemBytes) {
        uint32_t item = 0;
        for (size_t b = itemBytes; b-- > 0;)
            item = item << 8 | static_cast<unsigned char>(bytes[at + b]);
        items.push_back(makeHex(item));
    }
    return withLength(list);
}

Ref readBytes(Holder* self, const Ref& argument) {
    return readHex(self, argument, 1, "binary.read");
}

Ref readWords(Holder* self, const Ref& argument) {
    return readHex(self, argument, WORD_BYTES, "binary.readdw");
}

Ref openText(Holder* self, const Ref& argument);
Ref openBinary(Holder* self, const Ref& argument);

void addTextMethods(const Ref& cls) {
    setMethod(cls, "open", openText);
    setMethod(cls, "read", readText);
    setMethod(cls, "close", closeFile);
    setMethod(cls, "destructor", closeFile);
}

void addBinaryMethods(const Ref& cls) {
    setMethod(cls, "open", openBinary);
    setMethod(cls, "read", readBytes);
    setMethod(cls, "readdw", readWords);
    setMethod(cls, "close", closeFile);
    setMethod(cls, "destructor", closeFile);
}

Ref openText(Holder* self, const Ref& argument) {
    return openFile(self, argument, "r", addTextMethods);
}

Ref openBinary(Holder* self, const Ref& argument) {
    return openFile(self, argument, "rb", addBinaryMethods);
}

} // namespace

void registerFiles(const Ref& global) {
    addTextMethods(libraryObject(global, "file"));
    addBinaryMethods(libraryObject(global, "binary"));
}

} // namespace Kel::builtins
