// The GUI library's dialogs, driven by objectName, and its C exports through
// the built librvgui.so the way the tracker loads it.
#include <dlfcn.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>

#include "alarmdialog.h"
#include "atomicfile.h"
#include "guiversion.h"
#include "optionsdialog.h"
#include "optionsmodel.h"
#include "rvgui_api.h"

namespace ravell {
namespace {

// Stand-ins for the tracker's call-backs: "scrambling" wraps the text in
// S(...), so a mixed-up direction shows. Like the tracker's, they free the
// block and return a text of their own.
struct CallbackLog {
  int unscrambles = 0;
  int scrambles = 0;
  QByteArray result;
} g_log;

QByteArray TakeBlock(intptr_t block) {
  if (!block) return QByteArray();
  QByteArray text(reinterpret_cast<const char*>(block));
  std::free(reinterpret_cast<void*>(block));
  return text;
}

const char* TestUnscramble(intptr_t block) {
  ++g_log.unscrambles;
  const QByteArray text = TakeBlock(block);
  g_log.result =
      text.startsWith("S(") && text.endsWith(')') ? text.mid(2, text.size() - 3) : QByteArray();
  return g_log.result.constData();
}

const char* TestScramble(intptr_t block) {
  ++g_log.scrambles;
  const QByteArray text = TakeBlock(block);
  g_log.result = text.isEmpty() ? QByteArray() : "S(" + text + ")";
  return g_log.result.constData();
}

// Every key in the form the dialog writes it, plus a section it must keep.
const QByteArray kFullIni =
    "[Storage]\r\nTarget=Combine\r\n"
    "[Startup]\r\nHideSplash=Yes\r\nHideToTray=No\r\nLoadNotesToDo=Yes\r\n"
    "[Options]\r\nAutoSave=Yes\r\nAutoSaveInterval=0:10:00\r\n"
    "[Notes]\r\nServer=Local\r\nDataBase=/data/rvlog.nsf\r\nPassword=S(secret)\r\n"
    "[GUI]\r\nWindowTop=10\r\n";

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <class T>
T* Child(QWidget* parent, const char* name) {
  return parent->findChild<T*>(QString::fromLatin1(name));
}

void ClickOk(QWidget* dialog) {
  Child<QDialogButtonBox>(dialog, "ButtonBox")->button(QDialogButtonBox::Ok)->click();
}

// An options dialog over <folder>/ravell.ini that collects its error
// messages instead of showing message boxes.
struct OptionsFixture {
  explicit OptionsFixture(const QString& folder, bool setup_mode = false,
                          RvPasswordCallback unscramble = TestUnscramble,
                          RvPasswordCallback scramble = TestScramble)
      : model(folder, PasswordCallbacks(unscramble, scramble)), dialog(model, setup_mode) {
    dialog.SetErrorSink([this](const QString& message) { errors << message; });
    dialog.show();
  }
  template <class T>
  T* Get(const char* name) {
    return Child<T>(&dialog, name);
  }
  bool StillOpen() const { return dialog.isVisible() && dialog.result() != QDialog::Accepted; }

  OptionsModel model;
  OptionsDialog dialog;
  QStringList errors;
};

}  // namespace

class RvGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { g_log = CallbackLog(); }

  void OptionsShowStoredValuesAndWriteChangesBack() {
    QTemporaryDir folder;
    WriteFileAtomic(folder.filePath("ravell.ini"), kFullIni);
    OptionsFixture f(folder.path());

    QCOMPARE(f.Get<QComboBox>("TargetCombo")->currentData().toString(), QString("Combine"));
    QVERIFY(f.Get<QCheckBox>("HideSplashCheck")->isChecked());
    QVERIFY(!f.Get<QCheckBox>("HideToTrayCheck")->isChecked());
    QVERIFY(f.Get<QCheckBox>("LoadNotesToDoCheck")->isChecked());
    QVERIFY(f.Get<QCheckBox>("AutoSaveCheck")->isChecked());
    QCOMPARE(f.Get<QTimeEdit>("AutoSaveIntervalEdit")->time(), QTime(0, 10, 0));
    QCOMPARE(f.Get<QLineEdit>("ServerEdit")->text(), QString("Local"));
    QCOMPARE(f.Get<QLineEdit>("DataBaseEdit")->text(), QString("/data/rvlog.nsf"));
    QCOMPARE(f.Get<QLineEdit>("PasswordEdit")->text(), QString("secret"));
    QVERIFY(f.Get<QLineEdit>("PasswordEdit")->isEnabled());
    QCOMPARE(g_log.unscrambles, 1);

    auto* target = f.Get<QComboBox>("TargetCombo");
    target->setCurrentIndex(target->findData(QString("Notes")));
    f.Get<QCheckBox>("HideSplashCheck")->setChecked(false);
    f.Get<QCheckBox>("HideToTrayCheck")->setChecked(true);
    f.Get<QTimeEdit>("AutoSaveIntervalEdit")->setTime(QTime(1, 5, 30));
    f.Get<QLineEdit>("ServerEdit")->setText("srv/Acme");
    f.Get<QLineEdit>("DataBaseEdit")->setText("/data/büro.nsf");
    f.Get<QLineEdit>("PasswordEdit")->setText(QString::fromUtf8("nëw pass"));
    ClickOk(&f.dialog);

    QVERIFY(f.errors.isEmpty());
    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_log.scrambles, 1);
    QCOMPARE(ReadBytes(folder.filePath("ravell.ini")),
             QByteArray("[Storage]\r\nTarget=Notes\r\n"
                        "[Startup]\r\nHideSplash=No\r\nHideToTray=Yes\r\nLoadNotesToDo=Yes\r\n"
                        "[Options]\r\nAutoSave=Yes\r\nAutoSaveInterval=1:05:30\r\n"
                        "[Notes]\r\nServer=srv/Acme\r\nDataBase=/data/büro.nsf\r\n"
                        "Password=S(nëw pass)\r\n"
                        "[GUI]\r\nWindowTop=10\r\n"));
  }

  // Without both call-backs the password can be neither shown nor stored:
  // the field is disabled and the stored text survives OK untouched.
  void OptionsKeepPasswordWithoutCallbacks_data() {
    QTest::addColumn<bool>("with_unscramble");
    QTest::addColumn<bool>("with_scramble");
    QTest::newRow("no unscramble") << false << true;
    QTest::newRow("no scramble") << true << false;
    QTest::newRow("neither") << false << false;
  }
  void OptionsKeepPasswordWithoutCallbacks() {
    QFETCH(bool, with_unscramble);
    QFETCH(bool, with_scramble);
    QTemporaryDir folder;
    WriteFileAtomic(folder.filePath("ravell.ini"), kFullIni);
    OptionsFixture f(folder.path(), false, with_unscramble ? TestUnscramble : nullptr,
                     with_scramble ? TestScramble : nullptr);

    QVERIFY(!f.Get<QLineEdit>("PasswordEdit")->isEnabled());
    QVERIFY(f.Get<QLineEdit>("PasswordEdit")->text().isEmpty());
    ClickOk(&f.dialog);

    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ReadBytes(folder.filePath("ravell.ini")), kFullIni);
    QCOMPARE(g_log.unscrambles + g_log.scrambles, 0);
  }

  void OptionsFirstSetUpHeadingAndDefaults_data() {
    QTest::addColumn<bool>("setup_mode");
    QTest::addColumn<QString>("title");
    QTest::newRow("setup mode") << true << "Ravell set-up";
    QTest::newRow("options") << false << "Ravell options";
  }
  void OptionsFirstSetUpHeadingAndDefaults() {
    QFETCH(bool, setup_mode);
    QFETCH(QString, title);
    QTemporaryDir folder;  // no ravell.ini yet, as at a first start
    OptionsFixture f(folder.path(), setup_mode);

    auto* heading = f.Get<QLabel>("SetupHeading");
    QCOMPARE(heading->isVisible(), setup_mode);
    QVERIFY(heading->text().contains("First set-up of Ravell"));
    QCOMPARE(f.dialog.windowTitle(), title);
    ClickOk(&f.dialog);

    QCOMPARE(ReadBytes(folder.filePath("ravell.ini")),
             QByteArray("[Storage]\r\nTarget=Log\r\n"
                        "[Startup]\r\nHideSplash=No\r\nHideToTray=No\r\nLoadNotesToDo=No\r\n"
                        "[Options]\r\nAutoSave=No\r\nAutoSaveInterval=0:05:00\r\n"
                        "[Notes]\r\nServer=\r\nDataBase=\r\nPassword=\r\n"));
  }

  // Refused values keep the dialog open, say why and write nothing.
  void OptionsRefuseWhatCannotBeStored_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("auto_save");
    QTest::addColumn<QTime>("interval");
    QTest::addColumn<QString>("refusal");  // empty: accepted
    const QTime five(0, 5, 0);
    const QTime zero(0, 0, 0);
    QTest::newRow("577 characters") << QString(577, 'a') << true << five << "";
    QTest::newRow("578 characters") << QString(578, 'a') << true << five << "too long";
    // The tracker scrambles the 8-bit bytes: 289 characters make 578 bytes.
    QTest::newRow("289 two-byte characters")
        << QString(289, QChar(0xE9)) << true << five << "too long";
    QTest::newRow("zero interval with auto save") << "pw" << true << zero << "interval";
    QTest::newRow("zero interval, auto save off") << "pw" << false << zero << "";
  }
  void OptionsRefuseWhatCannotBeStored() {
    QFETCH(QString, password);
    QFETCH(bool, auto_save);
    QFETCH(QTime, interval);
    QFETCH(QString, refusal);
    QTemporaryDir folder;
    const QString path = folder.filePath("ravell.ini");
    WriteFileAtomic(path, kFullIni);
    OptionsFixture f(folder.path());

    f.Get<QLineEdit>("PasswordEdit")->setText(password);
    f.Get<QCheckBox>("AutoSaveCheck")->setChecked(auto_save);
    f.Get<QTimeEdit>("AutoSaveIntervalEdit")->setTime(interval);
    ClickOk(&f.dialog);

    if (refusal.isEmpty()) {
      QVERIFY2(f.errors.isEmpty(), qPrintable(f.errors.join('\n')));
      QVERIFY(ReadBytes(path).contains("Password=S(" + password.toLocal8Bit() + ")\r\n"));
    } else {
      QCOMPARE(f.errors.size(), 1);
      QVERIFY2(f.errors[0].contains(refusal), qPrintable(f.errors[0]));
      QVERIFY(f.StillOpen());
      QCOMPARE(g_log.scrambles, 0);
      QCOMPARE(ReadBytes(path), kFullIni);
    }
  }

  void OptionsCancelWritesNothing() {
    QTemporaryDir folder;
    const QString path = folder.filePath("ravell.ini");
    WriteFileAtomic(path, kFullIni);
    OptionsFixture f(folder.path());
    f.Get<QLineEdit>("ServerEdit")->setText("other");
    f.Get<QLineEdit>("PasswordEdit")->setText("other");

    Child<QDialogButtonBox>(&f.dialog, "ButtonBox")->button(QDialogButtonBox::Cancel)->click();

    QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(g_log.scrambles, 0);
    QCOMPARE(ReadBytes(path), kFullIni);
  }

  // A file that cannot be read or written is reported with its name and the
  // dialog stays open, so the user's input is not lost.
  void OptionsReportFileErrors_data() {
    QTest::addColumn<bool>("ini_is_folder");
    QTest::newRow("folder missing") << false;
    QTest::newRow("ravell.ini unreadable") << true;
  }
  void OptionsReportFileErrors() {
    QFETCH(bool, ini_is_folder);
    QTemporaryDir root;
    QString folder = root.filePath("missing");
    if (ini_is_folder) {
      folder = root.path();
      QVERIFY(QDir(folder).mkdir("ravell.ini"));
    }
    OptionsFixture f(folder);
    ClickOk(&f.dialog);

    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors[0].contains("ravell.ini"), qPrintable(f.errors[0]));
    QVERIFY(f.StillOpen());
  }

  void AlarmButtonsReturnTheirAction_data() {
    QTest::addColumn<QString>("button");  // empty: the window is closed
    QTest::addColumn<int>("result");
    QTest::newRow("extend") << "ExtendButton" << 1;
    QTest::newRow("set plan") << "SetPlanButton" << 2;
    QTest::newRow("stop") << "StopTaskButton" << 3;
    QTest::newRow("show") << "ShowRavellButton" << 4;
    QTest::newRow("closed") << "" << 0;
  }
  void AlarmButtonsReturnTheirAction() {
    QFETCH(QString, button);
    QFETCH(int, result);
    AlarmDialog dialog("Planned time 1:00:00 for", "Write report", "Acme");
    QTimer::singleShot(0, &dialog, [&] {
      if (button.isEmpty()) {
        dialog.close();
      } else {
        dialog.findChild<QPushButton*>(button)->click();
      }
    });
    QCOMPARE(dialog.exec(), result);
  }

  // What the tracker relies on: the five names resolve in the library file,
  // texts arrive as 8-bit strings, options edit ravell.ini in the current
  // directory, and the library unloads cleanly afterwards.
  void ExportsWorkThroughTheLoadedLibrary() {
    void* library = dlopen(RVGUI_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    auto show_splash = reinterpret_cast<RvShowSplashFn>(dlsym(library, "ShowSplash"));
    auto close_splash = reinterpret_cast<RvCloseSplashFn>(dlsym(library, "CloseSplash"));
    auto show_about = reinterpret_cast<RvShowAboutFn>(dlsym(library, "ShowAbout"));
    auto show_options = reinterpret_cast<RvShowOptionsFn>(dlsym(library, "ShowOptions"));
    auto show_alarm = reinterpret_cast<RvShowAlarmFn>(dlsym(library, "ShowAlarm"));
    QVERIFY(show_splash && close_splash && show_about && show_options && show_alarm);

    show_splash(nullptr);
    QWidget* splash = FindTopLevel("SplashScreen");
    QVERIFY(splash && splash->isVisible());
    QVERIFY(Child<QLabel>(splash, "VersionLabel")->text().contains(FullVersionText()));
    close_splash();
    QVERIFY(!FindTopLevel("SplashScreen"));

    QString about_version;
    WhenModal([&](QWidget* dialog) {
      about_version = Child<QLabel>(dialog, "VersionLabel")->text();
      dialog->close();
    });
    show_about(nullptr);
    QCOMPARE(about_version, "Version " + FullVersionText());

    QStringList alarm_texts;
    WhenModal([&](QWidget* dialog) {
      for (const char* name : {"MessageLabel", "TaskLabel", "ProjectLabel"}) {
        alarm_texts << Child<QLabel>(dialog, name)->text();
      }
      Child<QPushButton>(dialog, "StopTaskButton")->click();
    });
    QCOMPARE(show_alarm(nullptr, "Planned time 1:00:00 for", "Büro räumen", "Umzug"), 3);
    QCOMPARE(alarm_texts, QStringList({"Planned time 1:00:00 for", QString::fromUtf8("Büro räumen"),
                                       QString::fromUtf8("Umzug")}));

    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    WhenModal([&](QWidget* dialog) {
      Child<QLineEdit>(dialog, "PasswordEdit")->setText("pw");
      ClickOk(dialog);
    });
    const int options_result = show_options(nullptr, 1, TestUnscramble, TestScramble);
    WhenModal([&](QWidget* dialog) { dialog->close(); });
    const int cancelled_result = show_options(nullptr, 0, TestUnscramble, TestScramble);
    QDir::setCurrent(previous);
    QCOMPARE(options_result, 1);
    QCOMPARE(cancelled_result, 0);
    QVERIFY(ReadBytes(folder.filePath("ravell.ini")).contains("Password=S(pw)\r\n"));

    QCoreApplication::processEvents();
    QCOMPARE(dlclose(library), 0);
    QVERIFY2(!dlopen(RVGUI_LIBRARY_PATH, RTLD_NOW | RTLD_NOLOAD), "library stayed loaded");
    QCoreApplication::processEvents();
  }

 private:
  static QWidget* FindTopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == QLatin1String(name)) return widget;
    }
    return nullptr;
  }

  // Runs `step` on the modal dialog once its exec() loop is running; gives
  // up after a while so a dialog that never shows fails instead of hanging.
  static void WhenModal(std::function<void(QWidget*)> step, int tries = 200) {
    QTimer::singleShot(tries == 200 ? 0 : 10, qApp, [step, tries] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        step(dialog);
      } else if (tries > 0) {
        WhenModal(step, tries - 1);
      }
    });
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::RvGuiTest)
#include "rvgui_test.moc"
