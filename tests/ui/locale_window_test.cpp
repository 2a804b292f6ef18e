#include "main_window.h"
#include "result_list_view.h"
#include "ui_test_support.h"

using namespace tarnel;
using namespace tarnel::test;

namespace {

QStringList listLines(const TForm1& window)
{
    QStringList lines;
    for (int row = 0; row < control<ResultListView>(window, "ListBox1")->model()->rowCount(); ++row)
        lines.append(control<ResultListView>(window, "ListBox1")->model()->index(row, 0).data().toString());
    return lines;
}

// Presses Start and waits for the run, which goes on beside the window.
bool startAndWait(TForm1& window)
{
    control<QPushButton>(window, "btnStart")->click();
    return QTest::qWaitFor([&] { return !window.searching(); }, 60000);
}

QStringList linesOf(const SearchInput& input)
{
    QStringList lines;
    for (const std::string& line : runInput(input, NumberText(",")).lines())
        lines.append(QString::fromStdString(line));
    return lines;
}

} // namespace

// The window as the program makes it, under a locale whose decimal separator
// is a comma (CTest sets LC_ALL; scripts/install-deps.sh generates it).
class LocaleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(systemDecimalSeparator(), std::string(",")); }

    void the_window_reads_and_writes_the_locales_comma()
    {
        TForm1 window;
        control<QLineEdit>(window, "editUin")->setText(QStringLiteral("2,5"));
        control<QLineEdit>(window, "editUout")->setText(QStringLiteral("0,5"));
        QVERIFY(startAndWait(window));
        QCOMPARE(listLines(window).value(0), QStringLiteral("8,20   /  2,00   d 2,00"));
        QCOMPARE(listLines(window), linesOf(inputWith({{Field::Uin, "2,5"}, {Field::Uout, "0,5"}})));
    }

    // A stock file reads with periods in every locale, and is read again at
    // each Start: a value edited to another, the count alike, is searched.
    void a_stock_file_of_periods_is_read_again_when_edited_between_two_starts()
    {
        TForm1 window;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drawer.txt"));
        window.setValuesFile(path);
        SearchInput expected;
        expected.valuesFile = path.toStdString();
        for (const char* content : {"4k7\n43k\n51k\n1.5\n13\n", "5k6\n43k\n51k\n1.5\n13\n"}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
            file.close();
            QVERIFY(startAndWait(window));
            QCOMPARE(listLines(window), linesOf(expected));
        }
        QVERIFY(listLines(window).join('\n').contains(QStringLiteral("51,00   /  5,60")));
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv); // sets the locale up as the program does
    LocaleWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "locale_window_test.moc"
