// One verdict, every face: the same 200 searches of the shipped data, at one
// instant, through the window (its status line, what it announces, Copy
// Answer), the batch and the desktop search, and every fourth of them
// through tqlookup's text and JSON (each run reads all the data). Each
// face that answers a search must say the local time and whether one may
// call as the one answer does: the time exactly when it is certain, and the
// verdict with it.

#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <map>
#include <sstream>

#include "GuiTestSupport.h"
#include "base/Text.h"
#include "cli/Tqlookup.h"
#include "desktop/DesktopSearch.h"
#include "lookup/Announcer.h"
#include "lookup/AnswerText.h"
#include "lookup/QtText.h"

namespace {

const std::filesystem::path kShipped = std::filesystem::path(TELQUEST_SOURCE_DIR) / "res";
constexpr std::int64_t kInstant = 1783291320;  // 2026-07-05T22:42Z

// What a face says: the certain local time ("18:42", "" when it gives none)
// and the verdict ("yes", "no", "").
struct Said {
  QString time, callable;
  bool operator==(const Said&) const = default;
};

QString Hhmm(const QRegularExpressionMatch& clock) {  // "6:42 PM" or "18:42"
  int hour = clock.captured(1).toInt();
  const QString half = clock.captured(3);
  if (!half.isEmpty()) hour = hour % 12 + (half == "PM" ? 12 : 0);
  return QString("%1:%2").arg(hour, 2, 10, QChar('0')).arg(clock.captured(2));
}
const QRegularExpression kClock(QString::fromUtf8("\\b(\\d{1,2}):(\\d\\d)(?:[ \u00A0](AM|PM))?"));

// The status line, the announcement, the desktop search: the clock of a
// text of `clocks` clocks (-1: as many as it shows), and what it says of
// calling.
Said FromWords(const QString& text, int clocks = -1) {
  const QString callable = text.contains("can call now") ? "yes" : text.contains("outside calling hours") ? "no" : "";
  if (clocks < 0) {
    clocks = 0;
    for (auto match = kClock.globalMatch(text); match.hasNext(); match.next()) ++clocks;
  }
  return {clocks == 1 ? Hhmm(kClock.match(text)) : "", callable};
}
// tqlookup's text and Copy Answer: its "Local time:" lines, its "Callable now".
Said FromText(const QString& text) {
  const QStringList lines = text.split('\n');
  Said said;
  const int local = lines.indexOf("Local time:");
  if (local >= 0 && (local + 2 >= lines.size() || !lines[local + 2].startsWith("  "))) {
    said.time = Hhmm(kClock.match(lines[local + 1]));
  }
  for (int i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].startsWith("Callable now")) said.callable = lines[i + 1].trimmed();
  }
  return said;
}
Said FromJson(const QString& json) {
  const int times = json.count("\"time\": ");
  const QString callable = QRegularExpression("\"callable\": (\\w+)").match(json).captured(1);
  return {times == 1 ? QRegularExpression("\"time\": \"([\\d:]+)\"").match(json).captured(1) : "",
          callable == "true" ? "yes" : callable == "false" ? "no" : ""};
}

}  // namespace

class FacesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyFaceGivesTheOneAnswersTimeAndVerdict() {
    if (!std::filesystem::exists(kShipped / "cit.bin")) QSKIP("no shipped data");
    // The searches: every eighth kept query that finds a place with no
    // choice to make, up to 200.
    struct Nobody : tq::CityChooser {
      tq::CityChoiceReply ChooseCity(const std::vector<tq::CityChoice>&) override {
        return {tq::CityChoiceReply::Kind::kUnanswered, {}};
      }
    } nobody;
    tq::SearchFlow flow(kShipped, nobody);
    flow.SetNow([] { return kInstant; });
    flow.OpenData();
    std::vector<std::string> queries;
    std::map<std::string, Said> truth;
    std::ifstream kept(std::filesystem::path(TELQUEST_SOURCE_DIR) / "tests/lookup/answers.out");
    int line = 0;
    for (std::string entry; std::getline(kept, entry) && queries.size() < 200; ++line) {
      const std::string query = entry.substr(entry.find('\t') + 1);
      const auto answer = flow.Search(tq::Utf8ToCp1252(query));
      if (line % 8 != 0 || answer->outcome != tq::AnswerOutcome::kFound) continue;
      queries.push_back(query);
      const tq::CallVerdict verdict = tq::VerdictOf(answer->times, kInstant);
      truth[query] = {verdict.clock ? QString::fromStdString(tq::Clock24(*verdict.clock)) : "",
                      verdict.callable ? (*verdict.callable ? "yes" : "no") : ""};
    }
    QCOMPARE(queries.size(), std::size_t{200});

    std::map<std::string, std::map<QString, Said>> said;
    tq::test::ShippedDataFolder data(kShipped);
    tq::CLookupDlg window(1);
    window.show();
    window.SetClock([] { return kInstant; });
    auto* announcer = window.findChild<tq::Announcer*>("announcer");
    QAction* copyAnswer = nullptr;
    for (QAction* menu : window.findChild<QMenuBar*>()->actions()) {
      for (QAction* item : menu->menu()->actions()) if (item->text() == "Copy &Answer") copyAnswer = item;
    }
    tq::DesktopSearch desktop(kShipped);
    for (const std::string& query : queries) {
      window.SearchFor(QString::fromStdString(query));
      const QString status = window.findChild<QPlainTextEdit*>("editStatus")->toolTip();
      said[query]["status line"] = FromWords(status, status.count("(UTC"));
      said[query]["announcement"] = FromWords(announcer->Text());
      copyAnswer->trigger();
      said[query]["Copy Answer"] = FromText(QApplication::clipboard()->text());
      if ((&query - &queries.front()) % 4 == 0) {
        said[query]["tqlookup"] = FromText(QString::fromStdString(Tqlookup({query})));
        said[query]["tqlookup --json"] = FromJson(QString::fromStdString(Tqlookup({"--json", query})));
      }
      const std::vector<tq::DesktopResult> found = desktop.SearchQuery(query, kInstant);
      if (found.size() == 1) said[query]["desktop search"] = FromWords(QString::fromStdString(found[0].description));
    }
    // The batch, on every query that is a full number.
    std::ofstream numbers(data.Path() / "numbers.txt");
    std::vector<std::string> batched;
    for (const std::string& query : queries) {
      if (std::count_if(query.begin(), query.end(), ::isdigit) >= 10) {
        numbers << query << "\n";
        batched.push_back(query);
      }
    }
    numbers.close();
    std::istringstream rows(Tqlookup({"--batch", "--quiet", (data.Path() / "numbers.txt").string()}));
    std::string row;
    std::getline(rows, row);  // the header names the columns
    const QStringList columns = QString::fromStdString(row).split(',');
    for (const std::string& query : batched) {
      std::getline(rows, row);
      const QStringList fields = QString::fromStdString(row).split(',');
      const QString time = fields.value(columns.indexOf("local_time"));
      const QString callable = fields.value(columns.indexOf("callable"));
      said[query]["batch"] = {time.isEmpty() ? "" : time.mid(11, 5),
                              callable == "true" ? "yes" : callable == "false" ? "no" : ""};
    }

    int compared = 0;
    for (const std::string& query : queries) {
      for (const auto& [face, words] : said[query]) {
        ++compared;
        QVERIFY2(words == truth[query],
                 qPrintable(QString("%1 through %2: time \"%3\", callable \"%4\"; the answer: \"%5\", \"%6\"")
                                .arg(QString::fromStdString(query), face, words.time, words.callable,
                                     truth[query].time, truth[query].callable)));
      }
    }
    QVERIFY(compared > 4 * 200 + 2 * 50);
  }

 private:
  static std::string Tqlookup(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", kShipped.string(), "--now", "2026-07-05T22:42Z"});
    std::istringstream in;
    std::ostringstream out, err, prompt;
    tq::CommandLineIo io{in, out, err, prompt, false};
    tq::RunTqlookup(args, io, {{}, {}, {}, [] { return kInstant; }});
    return out.str();
  }
};

QTEST_MAIN(FacesTest)
#include "faces_test.moc"
