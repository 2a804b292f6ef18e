#include "result_list_model.h"
#include "ui_test_support.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <limits>
#include <stdexcept>
#include <utility>

using namespace tarnel;
using namespace tarnel::test;

using RowRanges = QList<std::pair<int, int>>;

class ResultListModelTest : public QObject {
    Q_OBJECT

private:
    ResultList list;
    ResultListModel model{list};

    void fill(int lines)
    {
        const ResultListModel::Reset reset(model);
        list.clear();
        for (int i = 0; i < lines; ++i)
            list.addMessage("line " + std::to_string(i));
    }

    QItemSelection selectionOf(const RowRanges& ranges)
    {
        QItemSelection selection;
        for (const auto& [top, bottom] : ranges)
            selection.append(QItemSelectionRange(model.index(top, 0), model.index(bottom, 0)));
        return selection;
    }

private slots:
    void init()
    {
        list.setCapacity(std::numeric_limits<std::size_t>::max());
        fill(0);
    }

    void model_stays_consistent_through_resets_of_the_list()
    {
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(10);
        fill(0);
        fill(3);
        {
            const ResultListModel::Reset reset(model);
            list.addResult(0, {9.1, 1.0, 1.0});
        }
        QCOMPARE(model.rowCount(), 4);
    }

    void rows_show_the_lines_of_the_list()
    {
        {
            const ResultListModel::Reset reset(model);
            list.addResult(0, {9.1, 1.0, 1.0});
            list.addMessage("specValsInit: bad chk->State");
            list.addResult(6, {10.0, 10.0, 1.0, 1.1, -0.5});
        }
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("9.10   /  1.00   d 1.00"));
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("specValsInit: bad chk->State"));
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("10.00 || 10.00   /  1.00 || 1.10   d -0.50"));
        QVERIFY(!model.index(0, 0).data(Qt::EditRole).isValid());
        QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).isValid());
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    }

    void reset_ends_also_when_the_change_throws()
    {
        QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        list.setCapacity(2);
        try {
            const ResultListModel::Reset guard(model);
            for (int i = 0; i < 5; ++i)
                list.addMessage("line");
        } catch (const std::length_error&) {
        }
        QCOMPARE(aboutToReset.size(), 1);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model.rowCount(), 2);
    }

    void selected_lines_are_copied_once_each_in_list_order_data()
    {
        QTest::addColumn<RowRanges>("ranges");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("nothing") << RowRanges{} << QList<int>{};
        QTest::newRow("one line") << RowRanges{{4, 4}} << QList<int>{4};
        QTest::newRow("a block") << RowRanges{{2, 5}} << QList<int>{2, 3, 4, 5};
        QTest::newRow("clicked bottom up") << RowRanges{{7, 7}, {1, 1}, {4, 4}} << QList<int>{1, 4, 7};
        QTest::newRow("overlapping") << RowRanges{{3, 6}, {1, 4}, {5, 5}} << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("adjacent") << RowRanges{{0, 1}, {2, 3}} << QList<int>{0, 1, 2, 3};
        QTest::newRow("one inside another") << RowRanges{{0, 9}, {3, 4}} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    }
    void selected_lines_are_copied_once_each_in_list_order()
    {
        QFETCH(RowRanges, ranges);
        QFETCH(QList<int>, rows);
        fill(10);
        QStringList expected;
        for (int row : rows)
            expected.append(QStringLiteral("line %1").arg(row));
        QCOMPARE(model.linesText(selectionOf(ranges)), expected.join('\n'));
    }

    void all_lines_are_copied_one_a_line_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("empty list") << 0;
        QTest::newRow("one line") << 1;
        QTest::newRow("many lines") << 70000;
    }
    void all_lines_are_copied_one_a_line()
    {
        QFETCH(int, lines);
        fill(lines);
        const QStringList copied = model.allLinesText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), lines);
        if (lines > 0) {
            QCOMPARE(copied.first(), QStringLiteral("line 0"));
            QCOMPARE(copied.last(), QStringLiteral("line %1").arg(lines - 1));
        }
    }
};

TARNEL_UI_TEST_MAIN(ResultListModelTest)
#include "result_list_model_test.moc"
