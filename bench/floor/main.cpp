// toviska-floor: what the benchmark holds toviska-cli against, and how it runs a command.
//
//   toviska-floor lines N MALE FEMALE LAST [FILE]
//       N "First Last" lines drawn uniformly from the three lists (first names from the male and
//       the female list), to standard output or FILE: xoshiro256**, a 1 MB buffer, fwrite. With
//       FILE it also fdatasyncs it, as toviska-cli -o does, so both sides pay the same disk.
//   toviska-floor measure OUT -- PROGRAM ARGUMENT...
//       Runs PROGRAM with its standard output sent to OUT and prints "<seconds> <peak KB>
//       <status>". This process is small and plain, so the child's peak resident memory is its
//       own: a child forked from the benchmark would start from the benchmark's.
//
// Plain C++ on purpose: no Qt, no database, nothing the command line could be faster without.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
std::vector<std::string> readList(const char *path, std::vector<std::string> names = {})
{
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    return names;
}

struct Xoshiro256
{
    std::uint64_t s[4];

    explicit Xoshiro256(std::uint64_t seed)
    {
        for (std::uint64_t &word : s) {
            std::uint64_t z = (seed += 0x9e3779b97f4a7c15ULL);
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t next()
    {
        const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
        const std::uint64_t t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = rotl(s[3], 45);
        return result;
    }
    std::size_t below(std::size_t n)
    {
        __extension__ typedef unsigned __int128 Wide;
        return static_cast<std::size_t>((static_cast<Wide>(next()) * n) >> 64);
    }
};

int lines(int argc, char **argv)
{
    if (argc < 6)
        return 2;
    const std::uint64_t count = std::strtoull(argv[2], nullptr, 10);
    const std::vector<std::string> first = readList(argv[4], readList(argv[3]));
    const std::vector<std::string> last = readList(argv[5]);
    if (first.empty() || last.empty())
        return 1;
    std::FILE *out = argc > 6 ? std::fopen(argv[6], "wb") : stdout;
    if (!out)
        return 1;
    constexpr std::size_t Capacity = 1 << 20;
    std::vector<char> buffer(Capacity);
    std::size_t used = 0;
    Xoshiro256 random(1);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string &given = first[random.below(first.size())];
        const std::string &family = last[random.below(last.size())];
        if (used + given.size() + family.size() + 2 > Capacity) {
            std::fwrite(buffer.data(), 1, used, out);
            used = 0;
        }
        std::memcpy(buffer.data() + used, given.data(), given.size());
        used += given.size();
        buffer[used++] = ' ';
        std::memcpy(buffer.data() + used, family.data(), family.size());
        used += family.size();
        buffer[used++] = '\n';
    }
    std::fwrite(buffer.data(), 1, used, out);
    if (std::fflush(out) != 0)
        return 1;
    if (out != stdout && (::fdatasync(fileno(out)) != 0 || std::fclose(out) != 0))
        return 1;
    return 0;
}

int measure(int argc, char **argv)
{
    if (argc < 5 || std::strcmp(argv[3], "--") != 0)
        return 2;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0)
            _exit(126);
        ::execv(argv[4], argv + 4);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return 1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %ld %d\n", seconds, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : 128);
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "lines") == 0)
        return lines(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "measure") == 0)
        return measure(argc, argv);
    std::fputs("usage: toviska-floor lines N MALE FEMALE LAST [FILE] | measure OUT -- PROGRAM ARGUMENT...\n", stderr);
    return 2;
}
