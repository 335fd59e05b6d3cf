// A small program packed into the test installation package when the imager is not built.
// Started with a file name, it writes there the path of the executable it runs from.
#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: reinstall-restore-probe <record file>\n";
        return 2;
    }
    std::ofstream record(argv[1]);
    record << std::filesystem::read_symlink("/proc/self/exe").string() << '\n';
    return record ? 0 : 1;
}
