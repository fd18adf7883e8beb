// The reading sheet of 100,000 characters of sample text: its cells and rows
// alone (the core layout, widths from a table), and all of it painted into a
// PDF in both layouts, as the print preview paints it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include "app/reading_sheet.h"
#include "bench/sample_text.h"
#include "dictionary/pinyin_dictionary.h"
#include "sheet/ruby_text.h"
#include "sheet/sheet_layout.h"

namespace kelvaro {
namespace {

constexpr std::size_t kCharacters = 100'000;

const PinyinConverter& Converter() {
  static const PinyinConverter converter(PinyinDictionary::LoadBuiltIn());
  return converter;
}

void BM_RubyLayout(benchmark::State& state) {
  const std::u16string text = bench::SampleOfLength(kCharacters);
  for (auto _ : state) {
    const std::vector<RubyLine> lines = RubyLines(Converter(), text);
    const auto pages = LayOutRubyPages(
        lines, [](const RubyCell& cell) { return cell.reading.empty() ? 1.0 : 1.4; }, 17, 12);
    benchmark::DoNotOptimize(pages.data());
  }
}
BENCHMARK(BM_RubyLayout)->Unit(benchmark::kMillisecond);

void BM_SheetToPdf(benchmark::State& state) {
  const QString text = QString::fromStdU16String(bench::SampleOfLength(kCharacters));
  QTemporaryDir folder;
  const SheetChoice choice{state.range(0) == 0 ? SheetLayout::kRuby : SheetLayout::kGrid, 3};
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("sheet.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    PaintReadingSheet(printer, Converter(), text, choice);
  }
}
BENCHMARK(BM_SheetToPdf)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("grid")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
}  // namespace kelvaro

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
