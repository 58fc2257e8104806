// toviska-cli at volume, against a plain C++ floor measured in the same run: the three shipped
// lists read from data/, ten million "First Last" lines drawn uniformly, one buffered write.
// The command runs as its own process, so its peak memory is its own.
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "store/NameStore.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::uint64_t kLines = 10000000;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> plainList(const char *fileName)
{
    std::ifstream in(std::string(TOVISKA_DATA_DIR "/") + fileName);
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            names.push_back(line);
    }
    return names;
}

// No Qt, no database: what writing the same lines costs at the least.
double plainFloor(const std::string &path)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> first = plainList("male.txt");
    const std::vector<std::string> female = plainList("female.txt");
    first.insert(first.end(), female.begin(), female.end());
    const std::vector<std::string> last = plainList("last.txt");
    std::mt19937_64 engine(1);
    std::string text;
    text.reserve(kLines * 16);
    for (std::uint64_t i = 0; i < kLines; ++i) {
        text += first[engine() % first.size()];
        text += ' ';
        text += last[engine() % last.size()];
        text += '\n';
    }
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return -1;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return secondsSince(start);
}

// A run that fails counts as missing every target.
struct ChildRun
{
    double seconds = 1e9;
    double peakMegabytes = 1e9;
};

ChildRun runCli(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    std::string program = TOVISKA_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string &argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {secondsSince(start), static_cast<double>(usage.ru_maxrss) / 1024.0};
}
} // namespace

void runCliBench(BenchTable &table)
{
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("names.mdb"));
    if (!NameStore::create(db, BenchSession::shippedList(QStringLiteral("male.txt")),
            BenchSession::shippedList(QStringLiteral("female.txt")),
            BenchSession::shippedList(QStringLiteral("last.txt"))))
        return;
    const std::string dbPath = db.toStdString();
    const std::string out = folder.filePath(QStringLiteral("out")).toStdString();

    const double floor = plainFloor(out + ".floor.txt");
    table.add(QStringLiteral("Floor: plain C++, 10,000,000 \"First Last\" lines to a file"), floor, 2);

    const ChildRun txt = runCli({"generate", "--db", dbPath, "-n", "10000000", "--seed", "1", "-o", out + ".txt"});
    table.add(QStringLiteral("toviska-cli: 10,000,000 full names, txt to a file (target: 1.5 x the floor)"),
        txt.seconds, 1.5 * floor);
    table.addMemory(QStringLiteral("toviska-cli: peak memory of the 10,000,000 txt names"), txt.peakMegabytes, 40);

    const ChildRun csv = runCli({"generate", "--db", dbPath, "-n", "10000000", "--seed", "1", "-o", out + ".csv"});
    table.add(QStringLiteral("toviska-cli: 10,000,000 csv records, every field (target: 3 x the floor)"), csv.seconds,
        3 * floor);

    const ChildRun unique
        = runCli({"generate", "--db", dbPath, "-n", "1000000", "--unique", "--seed", "1", "-o", out + ".unique.txt"});
    table.add(QStringLiteral("toviska-cli: 1,000,000 unique full names from Both"), unique.seconds, 2);
}
