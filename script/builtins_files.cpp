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

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

constexpr const char* FILE_MEMBER = "$$__FILE*fp__$$";
constexpr const char* NAME_MEMBER = "name";
// Text is read in pieces of this size, so a huge count costs only what the
// file really holds.
constexpr size_t READ_CHUNK = 64 * 1024;
constexpr int WORD_BYTES = 4;

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

Ref readText(Holder* self, const Ref& argument) {
    FileCall call = fileCall(self, argument);
    FILE* stream = streamOf(call.object.get());
    int32_t wanted = call.argument.value()->toInt();
    if (!stream || wanted <= 0) return makeString("");
    std::string text;
    size_t remaining = static_cast<size_t>(wanted);
    while (remaining > 0) {
        size_t piece = remaining < READ_CHUNK ? remaining : READ_CHUNK;
        size_t start = text.size();
        text.resize(start + piece);
        size_t got = std::fread(text.data() + start, 1, piece, stream);
        text.resize(start + got);
        remaining -= got;
        if (got < piece) break;
    }
    // The text is a C string: it ends at the first zero byte.
    size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return makeString(text);
}

// A new list with a "length" member holding its element count.
Ref withLength(Ref list) {
    int count = list.value()->count();
    list.value()->setMember("length", makeInt(count));
    return list;
}

Ref readBytes(Holder* self, const Ref& argument) {
    FileCall call = fileCall(self, argument);
    FILE* stream = streamOf(call.object.get());
    int32_t wanted = call.argument.value()->toInt();
    Ref list = makeObject();
    if (!stream || wanted <= 0) return list;
    std::vector<Ref>& bytes = static_cast<vObject*>(list.value())->elements();
    for (int32_t i = 0; i < wanted; ++i) {
        int byte = std::fgetc(stream);
        if (byte == EOF) break;
        bytes.push_back(makeHex(static_cast<uint32_t>(byte)));
    }
    return withLength(list);
}

Ref readWords(Holder* self, const Ref& argument) {
    FileCall call = fileCall(self, argument);
    FILE* stream = streamOf(call.object.get());
    int32_t wanted = call.argument.value()->toInt();
    Ref list = makeObject();
    if (!stream || wanted <= 0) return list;
    std::vector<Ref>& words = static_cast<vObject*>(list.value())->elements();
    for (int32_t i = 0; i < wanted; ++i) {
        unsigned char bytes[WORD_BYTES];
        if (std::fread(bytes, 1, WORD_BYTES, stream) != WORD_BYTES) break;
        uint32_t word = 0;
        for (int b = WORD_BYTES - 1; b >= 0; --b)
            word = word << 8 | bytes[b];
        words.push_back(makeHex(word));
    }
    return withLength(list);
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
