#include "app/reading_sheet.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/control_style.h"
#include "app/qt_text.h"
#include "sheet/ruby_text.h"
#include "sheet/sheet_layout.h"

namespace kelvaro {
namespace {

// Sizes in points (1/72 inch) or millimetres, as a first-grade reader prints.
constexpr double kCharacterPoints = 22;
constexpr double kReadingPoints = 11;
constexpr double kPageNumberPoints = 9;
constexpr double kCellGapEm = 0.35;  // between cells, of the character size
constexpr double kRubyRowGapEm = 0.25;
constexpr double kReadingGapEm = 0.1;  // between a reading and its character
constexpr double kSquareMm = 15;
constexpr double kSquareSlack = 0.05;  // of a square
constexpr double kStaffSpaceMm = 2.6;  // each of the three spaces of 四线三格
constexpr double kStaffGapMm = 1.2;    // between the staff and its square
constexpr double kGridRowGapMm = 3.5;
constexpr double kCharacterInSquare = 0.78;  // the character's size, of the square's
const QColor kGridColour(0x2e, 0x8b, 0x57);
const QColor kTextColour(Qt::black);

class SheetPainter {
 public:
  SheetPainter(QPagedPaintDevice& device, const QString& source)
      : device_(device), source_(Utf16View(source)) {
    painter_.begin(&device);
    const QRectF paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    page_ = QRectF(QPointF(0, 0), paint.size());
    QFont numberFont = HeiTiFont(kPageNumberPoints);
    numberFont.setPointSizeF(kPageNumberPoints);
    numberFont_ = QFont(numberFont, &device);
    const QFontMetricsF numbers(numberFont_);
    footer_ = numbers.height() * 2;
    body_ = QRectF(page_.topLeft(), QSizeF(page_.width(), page_.height() - footer_));
  }

  ~SheetPainter() { painter_.end(); }

  double Pixels(double points) const { return points * device_.logicalDpiY() / 72.0; }
  double PixelsOfMm(double mm) const { return mm / 25.4 * device_.logicalDpiY(); }
  QFont Font(QFont font) const { return QFont(font, &device_); }

  void PaintRuby(const PinyinConverter& converter) {
    const QFont characterFont = Font(SongTiFont(kCharacterPoints));
    const QFont readingFont = Font(HeiTiFont(kReadingPoints));
    const QFontMetricsF characters(characterFont);
    const QFontMetricsF readings(readingFont);
    const double gap = Pixels(kCharacterPoints) * kCellGapEm;
    const auto textOf = [this](const RubyCell& cell) {
      return QString::fromRawData(reinterpret_cast<const QChar*>(source_.data() + cell.from),
                                  static_cast<qsizetype>(cell.to - cell.from));
    };
    // Every cell is apart from the next, as wide as the wider of its text and
    // its reading: punctuation takes a place of its own, as in a child's reader.
    const auto width = [&](const RubyCell& cell) {
      const double text = characters.horizontalAdvance(textOf(cell));
      if (cell.reading.empty()) return text + gap;
      return std::max(text, readings.horizontalAdvance(QString::fromStdU16String(cell.reading))) +
             gap;
    };
    const double readingHeight = readings.ascent() + readings.descent();
    const double rowHeight = readingHeight + Pixels(kCharacterPoints) * kReadingGapEm +
                             characters.ascent() + characters.descent() +
                             Pixels(kCharacterPoints) * kRubyRowGapEm;
    const auto rowsPerPage = static_cast<std::size_t>(std::max(1.0, body_.height() / rowHeight));
    const std::vector<RubyLine> lines = RubyLines(converter, source_);
    const auto pages = LayOutRubyPages(lines, width, body_.width(), rowsPerPage);
    for (std::size_t p = 0; p < pages.size(); ++p) {
      StartPage(p, pages.size());
      double top = body_.top();
      for (const RubyRow& row : pages[p]) {
        double x = body_.left();
        const double readingBaseline = top + readings.ascent();
        const double characterBaseline =
            top + readingHeight + Pixels(kCharacterPoints) * kReadingGapEm + characters.ascent();
        for (std::size_t i = row.first; i < row.end; ++i) {
          const RubyCell& cell = lines[row.line][i];
          const double cellWidth = width(cell);
          const QString text = textOf(cell);
          painter_.setFont(characterFont);
          const double textWidth = characters.horizontalAdvance(text);
          painter_.drawText(QPointF(x + (cellWidth - textWidth) / 2, characterBaseline), text);
          if (!cell.reading.empty()) {
            const QString reading = QString::fromStdU16String(cell.reading);
            painter_.setFont(readingFont);
            painter_.drawText(
                QPointF(x + (cellWidth - readings.horizontalAdvance(reading)) / 2, readingBaseline),
                reading);
          }
          x += cellWidth;
        }
        top += rowHeight;
      }
    }
  }

  void PaintGrid(const PinyinConverter& converter, int copies) {
    std::vector<RubyCell> cells;
    for (RubyLine& line : RubyLines(converter, source_)) {
      for (RubyCell& cell : line) {
        if (!cell.reading.empty()) cells.push_back(std::move(cell));
      }
    }
    // As many squares as fit a row, a little smaller where one more nearly fits.
    const auto columns = static_cast<std::size_t>(
        std::max(1.0, std::floor(body_.width() / PixelsOfMm(kSquareMm) + kSquareSlack)));
    const double square = std::min(PixelsOfMm(kSquareMm), body_.width() / columns);
    const double space = PixelsOfMm(kStaffSpaceMm);
    const double staffGap = PixelsOfMm(kStaffGapMm);
    const double rowHeight = 3 * space + staffGap + square + PixelsOfMm(kGridRowGapMm);
    const auto rowsPerPage = static_cast<std::size_t>(std::max(1.0, body_.height() / rowHeight));
    const auto pages = LayOutGridPages(cells.size(), static_cast<std::size_t>(std::max(copies, 0)),
                                       columns, rowsPerPage);
    QFont characterFont = SongTiFont(kCharacterPoints);
    characterFont.setPixelSize(std::max(1, static_cast<int>(square * kCharacterInSquare)));
    characterFont = Font(characterFont);
    const QFont readingFont = Font(StaffFont(space));
    const QFontMetricsF characters(characterFont);
    const QFontMetricsF readings(readingFont);
    const double left = body_.left() + (body_.width() - columns * square) / 2;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      StartPage(p, pages.size());
      double top = body_.top();
      for (const GridRow& row : pages[p]) {
        for (std::size_t c = 0; c < row.size(); ++c) {
          const double x = left + c * square;
          const QRectF box(x, top + 3 * space + staffGap, square, square);
          PaintStaff(x, top, square, space);
          PaintSquare(box);
          if (row[c] == kPracticeSquare) continue;
          const RubyCell& cell = cells[row[c]];
          const QString text = QString(QChar(source_[cell.from]));
          painter_.setPen(kTextColour);
          painter_.setFont(characterFont);
          const double baseline =
              box.center().y() + (characters.ascent() - characters.descent()) / 2;
          painter_.drawText(
              QPointF(box.center().x() - characters.horizontalAdvance(text) / 2, baseline), text);
          const QString reading = QString::fromStdU16String(cell.reading);
          painter_.setFont(readingFont);
          painter_.drawText(
              QPointF(box.center().x() - readings.horizontalAdvance(reading) / 2, top + 2 * space),
              reading);
        }
        top += rowHeight;
      }
    }
  }

 private:
  // A font whose small letters fill the middle space of the staff.
  QFont StaffFont(double space) const {
    QFont font = Font(HeiTiFont(kReadingPoints));
    const double xHeight = QFontMetricsF(font).xHeight();
    if (xHeight > 0) font.setPointSizeF(kReadingPoints * space / xHeight);
    return Font(font);
  }

  void StartPage(std::size_t index, std::size_t count) {
    if (index > 0) device_.newPage();
    painter_.setPen(kTextColour);
    painter_.setFont(numberFont_);
    painter_.drawText(QRectF(page_.left(), page_.bottom() - footer_, page_.width(), footer_),
                      Qt::AlignHCenter | Qt::AlignBottom,
                      QStringLiteral("%1 / %2").arg(index + 1).arg(count));
  }

  // 四线三格: four lines, the third the letters' baseline.
  void PaintStaff(double x, double top, double width, double space) {
    painter_.setPen(QPen(kGridColour, PixelsOfMm(0.15)));
    for (int line = 0; line < 4; ++line) {
      painter_.drawLine(QPointF(x, top + line * space), QPointF(x + width, top + line * space));
    }
  }

  // 田字格: a square with a dashed cross through its middle.
  void PaintSquare(const QRectF& box) {
    painter_.setPen(QPen(kGridColour, PixelsOfMm(0.3)));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(box);
    QPen dashed(kGridColour, PixelsOfMm(0.15), Qt::DashLine);
    painter_.setPen(dashed);
    painter_.drawLine(QPointF(box.left(), box.center().y()),
                      QPointF(box.right(), box.center().y()));
    painter_.drawLine(QPointF(box.center().x(), box.top()),
                      QPointF(box.center().x(), box.bottom()));
  }

  QPagedPaintDevice& device_;
  std::u16string_view source_;
  QPainter painter_;
  QRectF page_;
  QRectF body_;
  double footer_ = 0;
  QFont numberFont_;
};

}  // namespace

void PaintReadingSheet(QPagedPaintDevice& device, const PinyinConverter& converter,
                       const QString& source, const SheetChoice& choice) {
  SheetPainter painter(device, source);
  if (choice.layout == SheetLayout::kGrid) {
    painter.PaintGrid(converter, choice.copies);
  } else {
    painter.PaintRuby(converter);
  }
}

}  // namespace kelvaro
