#include "password.h"

#include <gtest/gtest.h>

namespace ravell {
namespace {

TEST(Password, RoundTripsEveryStorableLength) {
  for (int length = 0; length <= kMaxPasswordLength; ++length) {
    QString password;
    for (int i = 0; i < length; ++i) password += QChar(u'!' + (i * 7) % 94);
    const QString stored = ScramblePassword(password);
    ASSERT_EQ(UnscramblePassword(stored), password) << "length " << length;
  }
}

TEST(Password, FiveCharactersLayout) {
  const QString stored = ScramblePassword(QStringLiteral("abcde"));
  EXPECT_TRUE(stored.endsWith(QStringLiteral("0261."))) << stored.toStdString();
  // 5 character fields, (5 + 1) mod 10 = 6 fillers, one last field.
  EXPECT_EQ(stored.count(u'.'), 12);
  EXPECT_EQ(stored.section(u'.', 0, 0), QString::number(int('a') * 52917 + 7 - 43));
  EXPECT_EQ(UnscramblePassword(stored), QStringLiteral("abcde"));
  EXPECT_EQ(ScramblePassword(QString()), QString());
}

TEST(Password, DamagedTextGivesNoPassword) {
  for (const char* text : {"", "abc", "1.2.0261.", "x.y.z.w.0227.", "99999999999999999999.0193."}) {
    EXPECT_EQ(UnscramblePassword(QLatin1String(text)), QString()) << text;
  }
}

}  // namespace
}  // namespace ravell
