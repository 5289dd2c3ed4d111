#include "storage/regconvert.h"
#include "storage/registryfunctions.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <limits>

using namespace rr;
using namespace rr::RegistryFunctions;
using rr::reg::HKEY_CURRENT_USER;

namespace
{
const QString kKey = QStringLiteral("Software\\Quorvane\\Vardecks\\");
}

TEST(RegistryFunctions, textsAndNumbersRoundTripAndMissingOrForeignValuesAreEmptyVariants)
{
    test::TempHome home;
    ASSERT_EQ(WriteValue(HKEY_CURRENT_USER, kKey, "Aspect", "Web"), 0);
    ASSERT_EQ(WriteValue(HKEY_CURRENT_USER, kKey, "Blank", ""), 0);

    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "aspect"), QVariant(QString("Web")));
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Blank"), QVariant(QString(""))) << "valid and empty";

    const QVariant missing = QueryValue(HKEY_CURRENT_USER, kKey, "NoSuchValue");
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(integerOf(missing), 0);
    EXPECT_EQ(booleanOf(missing), false);
    EXPECT_EQ(textOf(missing), "");
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, "No\\Such\\Key", "Aspect").isValid());

    // Values go by any spelling of their name; keys go only once empty.
    DeleteValue(HKEY_CURRENT_USER, kKey, "BLANK");
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kKey), QStringList{"Aspect"});
    WriteValue(HKEY_CURRENT_USER, kKey + "Recent\\", "recent1_ID", "W1");
    DeleteKey(HKEY_CURRENT_USER, "Software\\Quorvane\\Vardecks");
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Aspect").toString(), "Web");
    DeleteKey(HKEY_CURRENT_USER, kKey + "Recent\\");
    EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, kKey + "Recent"), 0u);

    // Numbers, and other types that write nothing but still report success.
    const Key key = CreateKey(HKEY_CURRENT_USER, kKey);
    ASSERT_NE(key, 0u);
    EXPECT_EQ(SetValueEx(key, "Five", reg::REG_DWORD, 5), 0);
    EXPECT_EQ(SetValueEx(key, "Minus", reg::REG_DWORD, "-2"), 0);
    EXPECT_EQ(SetValueEx(key, "Bool", reg::REG_SZ, true), 0);
    EXPECT_EQ(SetValueEx(key, "Other", reg::REG_BINARY, "x"), 0);
    CloseKey(key);

    const QVariant five = QueryValue(HKEY_CURRENT_USER, kKey, "five");
    EXPECT_EQ(five.typeId(), QMetaType::Int);
    EXPECT_EQ(five.toInt(), 5);
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Minus").toInt(), -2);
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kKey, "Bool").toString(), "True");
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, kKey, "Other").isValid());

    // A value of another type, as other programs may leave, reads as -1 and leaves
    // the caller's variant alone.
    Key raw = CreateKey(HKEY_CURRENT_USER, kKey);
    RegistryStore::instance().setValue(raw, "Binary", reg::Value::bytes(reg::REG_BINARY, "\x01\x02"));
    QVariant value = QStringLiteral("unchanged");
    EXPECT_EQ(QueryValueEx(raw, "Binary", value), -1);
    EXPECT_EQ(value.toString(), "unchanged");
    EXPECT_NE(QueryValueEx(raw, "Missing", value), 0);
    EXPECT_NE(QueryValueEx(0, "Binary", value), 0);
    EXPECT_EQ(value.toString(), "unchanged");
    CloseKey(raw);
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, kKey, "Binary").isValid());
}

TEST(RegConvert, followsTheRuntimeConversions)
{
    RuntimeError error;
    for (const auto &[text, value] : {std::pair{" 2500 ", 2500}, {"2.5", 2}, {"3.5", 4}, {"-32768", -32768}})
        EXPECT_EQ(integerOf(text), value) << text;
    for (const auto &[text, refused] : {std::pair{"32768", RuntimeError::overflow()},
                                        {"12px", RuntimeError::typeMismatch()},
                                        {"", RuntimeError::typeMismatch()}}) {
        EXPECT_FALSE(integerOf(text, &error)) << text;
        EXPECT_EQ(error, refused) << text;
    }

    // Every bound of the 64-bit range, exactly, whether as text or as a number.
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    EXPECT_EQ(wholeNumberOf("9223372036854775807", kMin, kMax), kMax);
    EXPECT_EQ(wholeNumberOf("-9223372036854775808", kMin, kMax), kMin);
    EXPECT_FALSE(wholeNumberOf("9223372036854775808", kMin, kMax, &error));
    EXPECT_EQ(error, RuntimeError::overflow());
    EXPECT_FALSE(wholeNumberOf(9.3e18, kMin, kMax, &error));
    EXPECT_FALSE(wholeNumberOf(9223372036854775807.0, kMin, kMax));
    EXPECT_EQ(wholeNumberOf(-9223372036854775808.0, kMin, kMax), kMin);
    EXPECT_FALSE(wholeNumberOf("9223372036854775807", kMin, kMax - 1));
    EXPECT_EQ(wholeNumberOf("1e3", 0, 1000), 1000);

    for (const auto &[text, value] : {std::pair{"tRuE", true}, {"FALSE", false}, {"-1", true}, {"0", false}})
        EXPECT_EQ(booleanOf(text), value) << text;
    EXPECT_FALSE(booleanOf("yes", &error));
    EXPECT_EQ(error.description, "Type mismatch");

    EXPECT_EQ(textOf(false), "False");
    EXPECT_EQ(textOf(42), "42");
    EXPECT_EQ(clampToInteger(40000), 32767);
    EXPECT_EQ(clampToInteger(-40000), -32768);
}
