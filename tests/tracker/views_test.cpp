// The log grid, the task list and the plan dialog over a real day log.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QScrollBar>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "barimages.h"
#include "daylog.h"
#include "daylogviews.h"
#include "plandialog.h"
#include "projectlist.h"

namespace ravell {

namespace {

// A model over a plain key list, to drive the row bookkeeping directly.
class KeyListModel : public KeyedRowsModel {
 public:
  explicit KeyListModel(QStringList keys) : keys_(std::move(keys)) { Refresh(); }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : 2;
  }
  void Set(QStringList keys) {
    keys_ = std::move(keys);
    Refresh();
  }

 protected:
  int CurrentCount() const override { return static_cast<int>(keys_.size()); }
  Entry CurrentEntry(int row) const override { return {keys_[row], {"", keys_[row]}}; }

 private:
  QStringList keys_;
};

// Small enough that the classic pixel widths hold every text.
QFont SmallFont(QFont font) {
  font.setPixelSize(8);
  return font;
}

DateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0); }

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }
QImage Picture(const QVariant& decoration) { return Picture(qvariant_cast<QIcon>(decoration)); }

struct Day {
  ProjectList projects;
  DayLog log{projects};
  Day() {
    projects.Append(QStringLiteral("Acme"), QStringLiteral("20.00"));
    projects.Append(QStringLiteral("Home"), QString());
  }
  void Add(const QString& project, const QString& task, DateTime start, DateTime end,
           const QString& id) {
    log.InsertSavedTask(project, task, end, start, id);
  }
};

// Runs on the open plan dialog once its modal loop has started.
void WhilePlanDialogOpen(QWidget* parent, std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, parent, [parent, act = std::move(act)] {
    auto* dialog = parent->findChild<QDialog*>(QStringLiteral("TForm5"));
    if (dialog == nullptr) dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    [&] {
      QVERIFY(dialog != nullptr && dialog->isVisible() && dialog->isModal());
      act(dialog);
    }();
    // A failed check must not leave the test waiting in the dialog.
    if (dialog != nullptr && dialog->isVisible()) dialog->reject();
  });
}

enum PlanAction { kClickOk, kPressEnter, kPressEscape, kCloseBox };

}  // namespace

class ViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void RowsFollowTheirKeys_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("tracked");
    QTest::addColumn<int>("expected");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("append") << QStringList{"a", "b"} << abc << 1 << 1;
    QTest::newRow("insert before") << QStringList{"b", "c"} << abc << 0 << 1;
    QTest::newRow("insert between") << QStringList{"a", "c"} << abc << 1 << 2;
    QTest::newRow("remove before") << abc << QStringList{"a", "c"} << 2 << 1;
    QTest::newRow("remove tracked") << abc << QStringList{"a", "c"} << 1 << -1;
    QTest::newRow("re-sort") << abc << QStringList{"c", "a", "b"} << 0 << 1;
    QTest::newRow("re-sort twins")
        << QStringList{"x", "a", "x"} << QStringList{"a", "x", "x"} << 1 << 0;
    QTest::newRow("first row of an empty log") << QStringList{""} << QStringList{"a"} << 0 << 0;
    QTest::newRow("cleared, first row stays") << abc << QStringList{""} << 0 << 0;
    QTest::newRow("cleared, later row goes") << abc << QStringList{""} << 2 << -1;
  }

  void RowsFollowTheirKeys() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, tracked);
    QFETCH(int, expected);
    KeyListModel model(before);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const QPersistentModelIndex row(model.index(tracked, 1));

    model.Set(after);

    QCOMPARE(model.rowCount(), after.size());
    QCOMPARE(row.isValid() ? row.row() : -1, expected);
    if (row.isValid()) {
      QCOMPARE(row.column(), 1);
      QCOMPARE(row.data().toString(), after[expected]);
    }
    QCOMPARE(resets.count(), 0);
    QCOMPARE(changes.count(), 1);  // texts may change with any refresh
  }

  void LogGridShowsTheRows() {
    Day day;
    LogGridModel model(day.log);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 1);  // the empty log
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.index(0, 0).data().toString(), QString());

    day.Add("Acme", "Mail", At(10, 0), At(10, 30), "20261209000002");
    day.Add("Home", "Tax", At(9, 0), At(9, 15), "20261209000001");
    day.Add("Acme", "Mail", At(11, 0), At(12, 30), "20261209000003");

    QCOMPARE(model.rowCount(), 3);
    const QStringList row1{"10:00:00-10:30:00 (0:30:00)", "Mail", "Acme", "20261209000002"};
    for (int column = 0; column < 4; ++column) {
      QCOMPARE(model.index(1, column).data().toString(), row1[column]);
    }
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Tax"));
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole), QVariant());
    // Even rows are darker than the grid's ground.
    QCOMPARE(model.index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(210, 223, 255));
    QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(226, 234, 255));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));

    day.log.RemoveRow(0);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Mail"));
    day.log.Clear();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 3).data().toString(), QString());
  }

  void LogGridViewLayout() {
    Day day;
    LogGridView view;
    view.setFont(SmallFont(view.font()));
    view.setModel(new LogGridModel(day.log, &view));
    view.resize(500, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QCOMPARE(view.objectName(), QStringLiteral("StringGrid1"));
    QCOMPARE(view.accessibleName(), QStringLiteral("Today's log"));
    QVERIFY(!view.horizontalHeader()->isVisible() && !view.verticalHeader()->isVisible());
    QVERIFY(!view.showGrid());
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(view.rowHeight(0) >= 15 && view.rowHeight(0) >= view.fontMetrics().height());

    auto check_columns = [&view](int task_width) {
      QCOMPARE(view.columnWidth(0), 140);
      QCOMPARE(view.columnWidth(1), task_width);
      QCOMPARE(view.columnWidth(2), 70);
      QVERIFY(view.isColumnHidden(3));
    };
    check_columns(280);
    view.resize(640, 200);
    check_columns(420);

    // The first row replaces the empty one, later ones are inserted: the
    // columns keep their setup and the current row stays with its record.
    day.Add("Acme", "Mail", At(10, 0), At(10, 30), "20261209000010");
    view.selectRow(0);
    day.Add("Acme", "Call", At(9, 0), At(9, 10), "20261209000009");
    check_columns(420);
    QCOMPARE(view.currentIndex().row(), 1);
    QCOMPARE(view.selectionModel()->selectedRows().value(0).row(), 1);

    // A vertical scroll bar narrows the task column instead of adding a horizontal one.
    for (int i = 0; i < 20; ++i) {
      day.Add("Home", "Read", At(11, i), At(11, i + 1), QStringLiteral("202612090001%1").arg(i));
    }
    QTRY_VERIFY(view.verticalScrollBar()->isVisible());
    QCOMPARE(view.columnWidth(1), view.viewport()->width() - 220);
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
  }

  void TaskListShowsTheItems() {
    Day day;
    TaskListModel model(day.log);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    day.Add("Acme", "Mail", At(9, 0), At(9, 30), "20261209000001");
    day.Add("Home", "Tax", At(10, 0), At(10, 15), "20261209000002");

    const QStringList captions{"Task", "Project", "Time", "Plan", "Rate", "Total"};
    const QStringList mail{"Mail", "Acme", "0:30:00", "-", "20.00", "10.00"};
    const QStringList tax{"Tax", "Home", "0:15:00", "-", "", ""};
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 6);
    for (int column = 0; column < 6; ++column) {
      QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
               captions[column]);
      QCOMPARE(model.index(0, column).data().toString(), mail[column]);
      QCOMPARE(model.index(1, column).data().toString(), tax[column]);
      const auto alignment = model.index(0, column).data(Qt::TextAlignmentRole).toInt();
      QCOMPARE(alignment & Qt::AlignHorizontal_Mask, column < 2 ? Qt::AlignLeft : Qt::AlignRight);
    }

    // Marker images: start for running, pause for paused; a blank of the
    // same size otherwise, so captions line up.
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const QImage running = Picture(BarImages16(kImageStart));
    const QImage paused = Picture(BarImages16(kImagePause));
    const QImage unmarked = Picture(model.index(1, 0).data(Qt::DecorationRole));
    QCOMPARE(unmarked.size(), QSize(16, 16));
    QVERIFY(unmarked != running && unmarked != paused);
    day.log.SetItemMarker(1, TaskMarker::kRunning);
    QCOMPARE(Picture(model.index(1, 0).data(Qt::DecorationRole)), running);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes[0][0].toModelIndex().row(), 1);
    QCOMPARE(changes[0][1].toModelIndex().row(), 1);
    day.log.SetItemMarker(1, TaskMarker::kPaused);
    QCOMPARE(Picture(model.index(1, 0).data(Qt::DecorationRole)), paused);
    QVERIFY(!model.index(1, 1).data(Qt::DecorationRole).isValid());

    // The last row of a task goes: so does its item, and the selection with it.
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::Rows | QItemSelectionModel::Select);
    day.log.RemoveRow(0);
    day.log.RecountTotalTask("Acme", "Mail");
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Tax"));
    QCOMPARE(selection.selectedRows().value(0).row(), 0);
  }

  void TaskListViewLayoutAndRateView() {
    Day day;
    TaskListView view;
    view.setFont(SmallFont(view.font()));
    view.setModel(new TaskListModel(day.log, &view));
    QCOMPARE(view.objectName(), QStringLiteral("TotalList"));
    QCOMPARE(view.accessibleName(), QStringLiteral("Task list"));
    QVERIFY(!view.rootIsDecorated());
    QVERIFY(view.uniformRowHeights());
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    const int widths[] = {180, 100, 50, 50, 50, 50};
    for (int column = 0; column < 6; ++column) QCOMPARE(view.columnWidth(column), widths[column]);

    day.log.rate_view = false;
    view.ApplyRateView(day.log.rate_view);
    QVERIFY(view.isColumnHidden(4) && view.isColumnHidden(5));
    QVERIFY(!view.isColumnHidden(3));
    day.Add("Acme", "Mail", At(9, 0), At(9, 30), "20261209000001");  // items come and go
    QVERIFY(view.isColumnHidden(4) && view.isColumnHidden(5));
    view.setColumnWidth(4, 90);
    view.ApplyRateView(true);
    QVERIFY(!view.isColumnHidden(4) && !view.isColumnHidden(5));
    QCOMPARE(view.columnWidth(4), 50);
    QCOMPARE(view.columnWidth(5), 50);
  }

  void ColumnsFitTheirTextsInALargeFont() {
    Day day;
    day.Add("Acme", "Mail", At(10, 20), At(12, 0), "20261209000001");
    day.Add("Acme", "Call", At(12, 30), At(23, 59), "20261209000002");
    LogGridView grid;
    TaskListView list;
    QFont large = grid.font();
    large.setPointSize(16);
    grid.setFont(large);
    list.setFont(large);
    grid.setModel(new LogGridModel(day.log, &grid));
    list.setModel(new TaskListModel(day.log, &list));
    grid.resize(900, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    const QFontMetrics metrics(large);
    auto fits = [&metrics](const auto& view, int row, int column) {
      const QString text = view.model()->index(row, column).data().toString();
      return metrics.horizontalAdvance(text) + 6 <= view.columnWidth(column);  // with cell margins
    };
    QVERIFY(grid.rowHeight(0) > metrics.height());
    QVERIFY(fits(grid, 0, 0) && fits(grid, 1, 0));
    QCOMPARE(grid.columnWidth(1), grid.viewport()->width() - grid.columnWidth(0) - 80);
    QCOMPARE(grid.columnWidth(2), 70);  // names keep their width
    for (int column = 2; column < 6; ++column) QVERIFY(fits(list, 1, column));
    list.ApplyRateView(false);
    list.ApplyRateView(true);  // back at the width that fits, not the classic one
    QVERIFY(fits(list, 1, 4) && fits(list, 1, 5));
  }

  void PlanDialogLayout() {
    QWidget owner;
    owner.setGeometry(150, 120, 600, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    WhilePlanDialogOpen(&owner, [&owner](QDialog* dialog) {
      auto* picker = dialog->findChild<QTimeEdit*>(QStringLiteral("PlanTime"));
      auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("Button1"));
      QVERIFY(picker && ok);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("PlanTime"));
      QCOMPARE(picker->displayFormat(), QStringLiteral("H:mm:ss"));
      QCOMPARE(picker->accessibleName(), QStringLiteral("Plan time"));
      QCOMPARE(ok->text(), QStringLiteral("Ok"));
      QCOMPARE(picker->pos(), QPoint(8, 8));
      QCOMPARE(ok->y(), 8);
      QVERIFY(picker->geometry().right() < ok->x());
      QVERIFY(dialog->rect().contains(ok->geometry()));
      QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
      QVERIFY(dialog->width() >= 155 && dialog->height() >= 38);
      const QPoint offset = dialog->geometry().center() - owner.geometry().center();
      QVERIFY2(offset.manhattanLength() <= 2, "not centred on its owner");
      QCOMPARE(dialog->focusWidget(), picker);
      dialog->close();
    });
    QCOMPARE(PlanDialog::AskPlan(&owner, "-"), std::nullopt);
    QVERIFY(owner.findChild<QDialog*>() == nullptr);  // released after use
  }

  void PlanDialogPresetAndResult_data() {
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QTime>("preset");
    QTest::addColumn<QTime>("picked");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("result");
    QTest::newRow("no plan, Ok at zero")
        << "-" << QTime(1, 0) << QTime(0, 0) << int{kClickOk} << true << "-";
    QTest::newRow("empty plan, Enter")
        << "" << QTime(1, 0) << QTime(1, 30) << int{kPressEnter} << true << "1:30:00";
    QTest::newRow("plan kept") << "0:45:00" << QTime(0, 45) << QTime(0, 45) << int{kClickOk} << true
                               << "0:45:00";
    QTest::newRow("Escape") << "2:00:00" << QTime(2, 0) << QTime(3, 0) << int{kPressEscape} << false
                            << "";
    QTest::newRow("close box") << "-" << QTime(1, 0) << QTime(3, 0) << int{kCloseBox} << false
                               << "";
  }

  void PlanDialogPresetAndResult() {
    QFETCH(QString, plan);
    QFETCH(QTime, preset);
    QFETCH(QTime, picked);
    QFETCH(int, action);
    QFETCH(bool, confirmed);
    QFETCH(QString, result);
    QWidget owner;
    QTime shown;
    WhilePlanDialogOpen(&owner, [&](QDialog* dialog) {
      auto* picker = dialog->findChild<QTimeEdit*>(QStringLiteral("PlanTime"));
      shown = picker->time();
      picker->setTime(picked);
      switch (action) {
        case kClickOk:
          QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button1")),
                            Qt::LeftButton);
          break;
        case kPressEnter:
          QTest::keyClick(picker, Qt::Key_Return);
          break;
        case kPressEscape:
          QTest::keyClick(picker, Qt::Key_Escape);
          break;
        case kCloseBox:
          dialog->close();
          break;
      }
    });
    const std::optional<QString> answer = PlanDialog::AskPlan(&owner, plan);
    QCOMPARE(shown, preset);
    QCOMPARE(answer.has_value(), confirmed);
    if (confirmed) QCOMPARE(*answer, result);
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::ViewsTest)
#include "views_test.moc"
