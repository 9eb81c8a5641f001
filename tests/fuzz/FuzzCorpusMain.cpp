#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool feed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

// Feeds a fuzz target each file of the folders given, once: its seed corpus first (which must
// hold inputs), then folders of real files, skipped when absent.
int main(int argc, char** argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString folder = QFile::decodeName(argv[i]);
        if (!QFileInfo(folder).isDir()) {
            if (i == 1) {
                std::fprintf(stderr, "no corpus folder %s\n", argv[i]);
                return 1;
            }
            std::printf("SKIP: %s is absent\n", argv[i]);
            continue;
        }
        QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            if (!feed(files.next()))
                return 1;
            ++inputs;
        }
        if (inputs == 0) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
    }
    std::printf("%d inputs passed\n", inputs);
    return 0;
}
