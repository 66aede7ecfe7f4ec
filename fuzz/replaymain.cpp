// Replays the seed corpus and a bounded, deterministic set of mutations of it through the fuzz
// target: the short run of the test suite (the open-ended run needs libFuzzer and clang).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <random>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void run(const QByteArray &input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()),
                           size_t(input.size()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS]\n", argv[0]);
        return 2;
    }
    const int mutations = argc > 2 ? QByteArray(argv[2]).toInt() : 300;
    LLVMFuzzerInitialize(&argc, &argv);
    QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "empty corpus %s\n", argv[1]);
        return 2;
    }
    std::mt19937 random(12345);
    int runs = 0;
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray seed = file.readAll();
        run(seed);
        ++runs;
        for (int i = 0; i < mutations; ++i) {
            QByteArray input = seed;
            switch (random() % 5) {
            case 0: // truncated
                input.truncate(int(random() % (input.size() + 1)));
                break;
            case 1: // bytes overwritten
                for (int k = 0; k < 4 && !input.isEmpty(); ++k)
                    input[int(random() % input.size())] = char(random());
                break;
            case 2: { // a number made huge
                const int at = input.indexOf("=\"", int(random() % (input.size() + 1)));
                if (at >= 0)
                    input.insert(at + 2, "4294967295999");
                break;
            }
            case 3: // a piece repeated
                if (!input.isEmpty()) {
                    const int from = int(random() % input.size());
                    input.insert(from, input.mid(from, int(random() % 64)));
                }
                break;
            default: // digits turned into letters
                for (char &c : input)
                    if (c >= '0' && c <= '9' && random() % 16 == 0)
                        c = 'x';
                break;
            }
            run(input);
            ++runs;
        }
    }
    std::printf("%d inputs replayed without failure\n", runs);
    return 0;
}
