// Whatever is typed and whatever data files lie next to the program, the
// window answers with one of its messages and never crashes.

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>

#include "GuiTestSupport.h"
#include "lookup/LookupDlg.h"

using tq::CLookupDlg;
using namespace tq::test;

namespace {

// Puts the text into the field as a paste would, and presses Enter.
void EnterText(CLookupDlg& dialog, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("editQuery"));
  edit->setText(text);
  QTest::keyClick(edit, Qt::Key_Return);
}

QString Answer(const CLookupDlg& dialog) {
  const QStringList largest = ListTexts(List(dialog, "listLargestCity"));
  return largest.size() == 1 ? largest.front() : QString("(%1 entries)").arg(largest.size());
}

const QString kNoCities = QStringLiteral("No cities found");
const QString kNotFound = QStringLiteral("City not found in database");

}  // namespace

class HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void strangeTextGetsTheMessages_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::newRow("100000 letters") << QString(100000, 'a') << kNotFound;
    QTest::newRow("100000 digits") << QString(100000, '9') << kNoCities;
    QTest::newRow("only quotes") << QString(200, '\'') << kNotFound;
    QTest::newRow("only commas") << QString(200, ',') << kNotFound;
    QTest::newRow("only spaces") << QString(200, ' ') << kNotFound;
    QTest::newRow("control characters")
        << QString::fromUtf8("\x01\x02\t\x1b\x7f, \x08") << kNotFound;
    QTest::newRow("outside code page 1252") << QString::fromUtf8("東京, 大阪") << kNotFound;
    QTest::newRow("emoji after a city") << QString::fromUtf8("Dayton 😀, OH") << kNotFound;
    QTest::newRow("quotes round a city") << QString("'Dayton', 'OH'") << kNotFound;
    QTest::newRow("filter text") << QString("x' and strStateOrProvince = 'OH") << kNotFound;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "ayton" << kNotFound;
  }

  void strangeTextGetsTheMessages() {
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    const auto dialog = OpenSampleWindow();
    QVERIFY(dialog);
    tq::CCityPickDlg::setNextAnswer(QDialog::Rejected);  // should a choice come up
    EnterText(*dialog, typed);
    QCOMPARE(Answer(*dialog), answer);
    QVERIFY(dialog->isVisible());
    EnterText(*dialog, "Dayton, OH");  // and the window still answers
    QCOMPARE(Answer(*dialog), QString("Dayton"));
  }

  void brokenDataFilesGiveTheMessages_data() {
    QTest::addColumn<QByteArray>("cities");
    QTest::addColumn<QByteArray>("pairs");
    QTest::newRow("empty files") << QByteArray() << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xFF\x00\xFE garbage\r\r\n\n", 16)
                             << QByteArray("\x00\x01\x02", 3);
    QTest::newRow("cut mid-record") << QByteArray("293\r\nzupoEb\r\nPI") << QByteArray("461");
    QTest::newRow("blank line first") << QByteArray("\r\n293\r\n") << QByteArray("\n461\n2853\n");
    QTest::newRow("one huge line") << QByteArray(1 << 20, 'x') << QByteArray(1 << 20, '7');
    QTest::newRow("numbers beyond 32 bits")
        << QByteArray("99999999999\nzupoEb\nPI\nbcd\n-99999999999\n999999\n0\n1e999\n")
        << QByteArray("99999999999\n-99999999999\n");
  }

  void brokenDataFilesGiveTheMessages() {
    QFETCH(QByteArray, cities);
    QFETCH(QByteArray, pairs);
    TempDir folder;
    WriteBytes(folder / "cit.bin", cities.toStdString());
    WriteBytes(folder / "arc.bin", pairs.toStdString());
    RunInFolder(folder.path());
  }

  void missingAndUnreadableDataFilesGiveTheMessages() {
    TempDir missing;
    RunInFolder(missing.path());
    TempDir folders;
    std::filesystem::create_directory(folders / "cit.bin");
    std::filesystem::create_directory(folders / "arc.bin");
    RunInFolder(folders.path());
  }

 private:
  static void RunInFolder(const std::filesystem::path& folder) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
      CLookupDlg dialog(1);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      for (const char* typed : {"937", "Dayton, OH", ", OH", "springfield", ""}) {
        tq::CCityPickDlg::setNextAnswer(QDialog::Rejected);
        EnterText(dialog, typed);
        const QString answer = Answer(dialog);
        QVERIFY2(answer == kNoCities || answer == kNotFound || answer == "(0 entries)",
                 qPrintable(QString("%1 -> %2").arg(typed, answer)));
      }
    }
    std::filesystem::current_path(previous);
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
