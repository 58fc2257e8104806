// A spreadsheet launcher's stand-in: writes the descriptors it was started with to
// "<workbook>.fds", then runs until "<workbook>.fifo" has been written and closed.
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>

int main(int argc, char **argv)
{
    const std::string workbook = argv[argc - 1];
    std::string descriptors;
    DIR *dir = opendir("/proc/self/fd");
    while (const dirent *entry = dir ? readdir(dir) : nullptr)
        if (entry->d_name[0] != '.' && std::stoi(entry->d_name) != dirfd(dir))
            descriptors += entry->d_name + std::string("\n");
    if (dir)
        closedir(dir);
    std::ofstream(workbook + ".fds") << descriptors;
    char byte;
    for (const int fifo = open((workbook + ".fifo").c_str(), O_RDONLY); fifo >= 0 && read(fifo, &byte, 1) > 0;) {
    }
    return 0;
}
