// wceload: the package installer of the handheld's object store. It installs the package
// named by its one argument (relative to its working folder) into the folder the package
// names, below the device root. It has no window: failures go to standard error and the
// exit status.
#include <exception>
#include <iostream>

#include "installer/object_store.h"
#include "installer/package_installer.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: wceload.exe <package>\n";
        return 2;
    }
    try {
        PackageInstaller(ObjectStore::Folder()).Install(argv[1]);
    } catch (const std::exception& failure) {
        std::cerr << "wceload.exe: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
