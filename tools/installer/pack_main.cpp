// quorvel-pack: builds an installation package from files on disk. Each file keeps its
// own name and permission bits; the package installs them into the given handheld folder
// ('/' may stand for '\').
#include <exception>
#include <iostream>
#include <vector>

#include "installer/package_writer.h"

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::cerr << "usage: quorvel-pack <package> <install folder> <file>...\n";
        return 2;
    }
    std::vector<PackageWriter::Input> inputs;
    for (int i = 3; i < argc; ++i) {
        const std::filesystem::path source(argv[i]);
        inputs.push_back({source.filename().string(), source});
    }
    try {
        PackageWriter::Write(argv[1], argv[2], inputs);
    } catch (const std::exception& failure) {
        std::cerr << "quorvel-pack: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
