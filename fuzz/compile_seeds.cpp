// Seeds for the compiled-file fuzzer: compiles each Kel source given into the
// compiled form, written to OUT_FOLDER under the source's base name.
// usage: kelfuzz_compile_seeds OUT_FOLDER FILE...
#include "code_writer.h"
#include "interpreter.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: kelfuzz_compile_seeds OUT_FOLDER FILE...\n", stderr);
        return 64;
    }
    int written = 0;
    for (int i = 2; i < argc; ++i) {
        Kel::Ref unit;
        if (Kel::Interpreter::loadUnit(argv[i], unit) != Kel::Interpreter::LOADED) continue;
        std::vector<uint8_t> bytes = Kel::writeCompiledScript(unit);
        std::string path = argv[i];
        std::string base = path.substr(path.find_last_of('/') + 1);
        std::string out = std::string(argv[1]) + "/" + std::to_string(i) + "-" + base + "c";
        FILE* file = std::fopen(out.c_str(), "wb");
        if (!file) {
            std::fprintf(stderr, "kelfuzz_compile_seeds: cannot write %s\n", out.c_str());
            return 1;
        }
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !ok) {
            std::fprintf(stderr, "kelfuzz_compile_seeds: cannot write %s\n", out.c_str());
            return 1;
        }
        ++written;
    }
    Kel::Interpreter::shutdown();
    std::printf("%d compiled seeds\n", written);
    return 0;
}
