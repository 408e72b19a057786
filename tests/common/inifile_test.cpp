#include "inifile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "atomicfile.h"
#include "error.h"

namespace ravell {
namespace {

TEST(IniFile, ReadsLikeProfileRoutines) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ravell.ini";
  WriteFileAtomic(path, "; comment\n[storage]\n  TARGET = Notes \n[Notes]\nServer=\"Local\"\r\n"
                        "Empty=\n");
  IniFile ini(path);
  EXPECT_EQ(ini.Read("Storage", "Target"), "Notes");
  EXPECT_EQ(ini.Read("Notes", "Server"), "Local");
  EXPECT_EQ(ini.Read("Notes", "Empty", "dflt"), "");
  EXPECT_EQ(ini.Read("Notes", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.Read("Nowhere", "Target", "Log"), "Log");
}

TEST(IniFile, WritesInPlaceWithCrLfAndKeepsOtherLines) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ravell.ini";
  IniFile ini(path);
  ini.Write("Storage", "Target", "Log");
  EXPECT_EQ(ReadWholeFile(path), QByteArray("[Storage]\r\nTarget=Log\r\n"));

  ini.Write("GUI", "WindowTop", "10");
  ini.Write("storage", "target", "Combine");  // same key, other case: replaced
  ini.Write("Storage", "Extra", "1");
  EXPECT_EQ(ReadWholeFile(path),
            QByteArray("[Storage]\r\ntarget=Combine\r\nExtra=1\r\n[GUI]\r\nWindowTop=10\r\n"));
  EXPECT_EQ(ini.Read("Storage", "Target"), "Combine");
}

TEST(IniFile, SeesChangesMadeByAnotherWriter) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/ravell.ini";
  IniFile reader(path);
  EXPECT_FALSE(reader.Exists());
  EXPECT_EQ(reader.Read("Options", "AutoSaveInterval"), "");
  IniFile(path).Write("Options", "AutoSaveInterval", "0:05:00");
  EXPECT_EQ(reader.Read("Options", "AutoSaveInterval"), "0:05:00");
  IniFile(path).Write("Options", "AutoSaveInterval", "0:10:00");  // same size, new content
  EXPECT_EQ(reader.Read("Options", "AutoSaveInterval"), "0:10:00");
}

TEST(IniFile, FailedWriteRaisesAndLeavesTheFile) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/missing/ravell.ini";
  IniFile ini(path);
  EXPECT_THROW(ini.Write("Storage", "Target", "Log"), FileError);
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace ravell
