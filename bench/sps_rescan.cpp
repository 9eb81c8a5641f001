// Times the SPS analyzers' rescans on a generated receiver file of 500,000 lines: the rescan of
// one field after a column change and the full rescan of every field. Run from a Release build:
//   build/release/bin/bench_sps_rescan
#include "sps/SpsLayout.h"
#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

constexpr int fileLines = 500000;
constexpr int runs = 7;

// Receiver records in the built-in columns, a few header lines first.
QByteArray receiverFile()
{
    QByteArray text = "H00 SPS format version number    SPS001\nH01 Generated receiver file\n";
    text.reserve(fileLines * 81 + 100);
    char line[96];
    for (int i = 2; i < fileLines; ++i) {
        const int receiverLine = 1000 + i / 2000;
        const int point = 1 + i % 2000;
        std::snprintf(line, sizeof line, "R%16d%8d1G1%4d%4.1f%4d%2d%4.1f%9.1f%10.1f%6.1f%03d%06d\n",
                      receiverLine, point, i % 17, (i % 50) / 10.0, 0, i % 30, 0.0, 300000.0 + point * 25.0,
                      5500000.0 + receiverLine * 50.0, 50.0 + (i % 1000) / 10.0, 1 + i % 365, i % 240000);
        text.append(line);
    }
    return text;
}

// The best of several runs, in milliseconds.
double best(const std::function<void()>& work)
{
    double fastest = 1e300;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, timer.nsecsElapsed() / 1e6);
    }
    return fastest;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.R"));
    const QByteArray content = receiverFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return 1;
    file.close();

    SpsLines lines;
    const double readMs = best([&] { static_cast<void>(lines.read(path)); });
    if (lines.count() != fileLines)
        return 1;
    const SpsLayout layout = SpsLayout::defaults(SpsKind::Receiver);
    const int easting = layout.fieldByName(QStringLiteral("Point easting"));
    const SpsScanner scanner(lines);
    qint64 checksum = 0;
    const double fieldMs = best([&] { checksum += scanner.field(layout, easting).lines; });
    const double allMs = best([&] { checksum += scanner.all(layout)[size_t(easting)].lines; });

    out << "SPS rescan of a receiver file of " << lines.count() << " lines (" << content.size() / 1e6
        << " MB; held once, plus a line index of " << (lines.count() + 1) * 4 / 1e6 << " MB), best of "
        << runs << " runs:\n"
        << "  read the file:                   " << readMs << " ms\n"
        << "  one field (easting):             " << fieldMs << " ms\n"
        << "  every field in one pass:         " << allMs << " ms\n"
        << "  (checksum " << checksum << ")\n";
    return 0;
}
