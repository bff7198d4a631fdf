// kel: runs, compiles and disassembles Kel scripts from the command line. It
// is a host like the game: one interpreter, a script loaded into it, and
// resumes after every top-level yield until the script ends.
#include "code_writer.h"
#include "disassembler.h"
#include "interpreter.h"
#include "string_value.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Exit statuses.
constexpr int EXIT_RAN = 0;
constexpr int EXIT_CANNOT_OPEN = 1;
constexpr int EXIT_NOT_COMPILED = 2;
constexpr int EXIT_USAGE = 64;

const char* const USAGE =
    "usage: kel FILE [ARG]        run FILE (compiled or source) with ARG (an int, 0 if absent)\n"
    "       kel -e TEXT [ARG]     run TEXT the same way\n"
    "       kel -c FILE -o OUT    compile FILE and write the compiled form to OUT\n"
    "       kel -d FILE           print the instructions of FILE\n"
    "       kel --help            print this text\n"
    "\n"
    "A script that yields at its top level is resumed with 0 until it ends.\n"
    "Exit status: 0 when the script ran or the file was written, 1 when a file\n"
    "cannot be opened or written, 2 when the script did not compile (the compile\n"
    "messages are printed above), 64 for a command line kel does not understand.\n";

int usageError() {
    std::fputs(USAGE, stderr);
    return EXIT_USAGE;
}

int cannotOpen(const char* path) {
    std::fprintf(stderr, "kel: cannot open %s\n", path);
    return EXIT_CANNOT_OPEN;
}

// ARG reads as a Kel string converts to an int.
int argumentOf(int argc, char** argv, int index) {
    return index < argc ? Kel::variable::Variable::vString::parseInt(argv[index]) : 0;
}

int exitFor(int loadResult, const char* path) {
    if (loadResult == Kel::Interpreter::NOT_FOUND) return cannotOpen(path);
    return EXIT_NOT_COMPILED;
}

// Starts the loaded script and resumes it after every yield until it ends.
void runToEnd(Kel::Interpreter& interpreter, int argument) {
    interpreter.run(argument);
    while (interpreter.isRunning())
        interpreter.run(0);
}

int runFile(const char* path, int argument) {
    Kel::Interpreter interpreter;
    int result = interpreter.loadFile(path);
    if (result != Kel::Interpreter::LOADED) return exitFor(result, path);
    runToEnd(interpreter, argument);
    return EXIT_RAN;
}

int runText(const char* text, int argument) {
    Kel::Interpreter interpreter;
    if (interpreter.loadText(text, "-e") != Kel::Interpreter::LOADED) return EXIT_NOT_COMPILED;
    runToEnd(interpreter, argument);
    return EXIT_RAN;
}

int compileFile(const char* path, const char* outPath) {
    Kel::Ref unit;
    int result = Kel::Interpreter::loadUnit(path, unit);
    if (result != Kel::Interpreter::LOADED) return exitFor(result, path);
    FILE* out = std::fopen(outPath, "wb");
    if (!out) {
        std::fprintf(stderr, "kel: cannot write %s\n", outPath);
        return EXIT_CANNOT_OPEN;
    }
    bool written = Kel::writeCompiledScript(unit, out);
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "kel: cannot write %s\n", outPath);
        return EXIT_CANNOT_OPEN;
    }
    return EXIT_RAN;
}

int disassembleFile(const char* path) {
    Kel::Ref unit;
    int result = Kel::Interpreter::loadUnit(path, unit);
    if (result != Kel::Interpreter::LOADED) return exitFor(result, path);
    std::fputs(Kel::disassemble(unit).c_str(), stdout);
    return EXIT_RAN;
}

int dispatch(int argc, char** argv) {
    if (argc < 2) return usageError();
    std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        std::fputs(USAGE, stdout);
        return EXIT_RAN;
    }
    if (first == "-e" && (argc == 3 || argc == 4))
        return runText(argv[2], argumentOf(argc, argv, 3));
    if (first == "-c" && argc == 5 && std::strcmp(argv[3], "-o") == 0)
        return compileFile(argv[2], argv[4]);
    if (first == "-d" && argc == 3) return disassembleFile(argv[2]);
    if (first.empty() || first[0] == '-' || argc > 3) return usageError();
    return runFile(argv[1], argumentOf(argc, argv, 2));
}

} // namespace

int main(int argc, char** argv) {
    int status = dispatch(argc, argv);
    Kel::Interpreter::shutdown();
    std::fflush(stdout);
    return status;
}
