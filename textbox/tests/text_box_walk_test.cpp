// A seeded random walk over a LongTextBox and a plain text edit: the same
// keys, clicks, drags, drops, pastes and input-method events, and after
// every step the same answers to every input-method and accessible-text
// question at every offset. A call that hangs ends the run naming the seed
// and the step.
#include "text_box_walk.h"

#include <QTest>
#include <random>

using kelvaro::TextBoxWalk;
using kelvaro::Watchdog;

namespace {

constexpr int kSeeds = 24;
// Seeds of longer runs that once found a difference: a shift-click after a
// triple click whose paragraph was since typed over (5063, 5075); an input
// method's replacement counted across a CR LF (5064); a caret that an
// insertion where its selection ended did not move on (6010).
constexpr unsigned kSeedsThatFound[] = {5063, 5064, 5075, 6010};
constexpr int kStepsPerSeed = 40;
constexpr int kCallLimitMilliseconds = 1000;

}  // namespace

class TextBoxWalkTest : public QObject {
  Q_OBJECT

 private slots:
  void walk_data() {
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= kSeeds; ++seed)
      QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    for (const unsigned seed : kSeedsThatFound)
      QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
  }
  void walk() {
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    TextBoxWalk walk([&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); },
                     watchdog_);
    for (int step = 1; step <= kStepsPerSeed; ++step) {
      const auto different = walk.Step(QStringLiteral("seed %1 step %2").arg(seed).arg(step));
      if (different) {
        QFAIL(qPrintable(QStringLiteral("seed %1, step %2:\n%3\nsteps:\n%4")
                             .arg(seed)
                             .arg(step)
                             .arg(*different, walk.log())));
      }
    }
  }

 private:
  Watchdog watchdog_{kCallLimitMilliseconds};
};

QTEST_MAIN(TextBoxWalkTest)
#include "text_box_walk_test.moc"
