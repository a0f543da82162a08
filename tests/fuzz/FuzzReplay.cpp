// Runs a fuzz target on every file in the folders it is given, so that the seed corpora and
// the inputs of faults found by fuzzing stay tests of the ordinary builds. A fault aborts the
// program (or the sanitizers stop it), which fails the test.
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    const QDir folder(QString::fromLocal8Bit(argv[i]));
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files, QDir::Name)) {
      QFile file(entry.filePath());
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(entry.filePath()));
        return 1;
      }
      const QByteArray input = file.readAll();
      std::printf("%s\n", qPrintable(entry.fileName()));
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
      ++inputs;
    }
  }
  std::printf("%d inputs\n", inputs);
  return inputs > 0 ? 0 : 1;
}
