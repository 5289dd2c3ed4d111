#include "storage/regconvert.h"

#include "platform/textutil.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace rr
{
namespace
{

std::nullopt_t fail(RuntimeError *error, const RuntimeError &what)
{
    if (error)
        *error = what;
    return std::nullopt;
}

// A number written in a text, or nothing when the text is not one.
std::optional<double> numberIn(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double d = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

} // namespace

QString booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString textOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return booleanText(value.toBool());
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

std::optional<qint64> wholeNumberOf(const QVariant &value, qint64 minimum, qint64 maximum, RuntimeError *error)
{
    double number = 0;
    if (!value.isValid() || value.isNull()) {
        number = 0;
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            number = value.toBool() ? -1 : 0;
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong: {
            const qint64 n = value.toLongLong();
            if (n < minimum || n > maximum)
                return fail(error, RuntimeError::overflow());
            return n;
        }
        case QMetaType::ULongLong: {
            const quint64 n = value.toULongLong();
            if (n > static_cast<quint64>(maximum))
                return fail(error, RuntimeError::overflow());
            return static_cast<qint64>(n);
        }
        case QMetaType::Double:
        case QMetaType::Float:
            number = value.toDouble();
            if (!std::isfinite(number))
                return fail(error, RuntimeError::overflow());
            break;
        default: {
            // A whole number in the text is taken exactly; a double holds only 53 bits.
            bool whole = false;
            const qint64 exact = QLocale::c().toLongLong(value.toString().trimmed(), &whole);
            if (whole) {
                if (exact < minimum || exact > maximum)
                    return fail(error, RuntimeError::overflow());
                return exact;
            }
            const std::optional<double> parsed = numberIn(value.toString());
            if (!parsed)
                return fail(error, RuntimeError::typeMismatch());
            number = *parsed;
        }
        }
    }
    // nearbyint rounds half to even under the default rounding mode.
    const double rounded = std::nearbyint(number);
    // 2^63 is the first double past every 64-bit integer; only below it is the
    // conversion defined, and then the bounds are compared as integers (a bound such
    // as 2^63 - 1 has no exact double).
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63))
        return fail(error, RuntimeError::overflow());
    const qint64 whole = static_cast<qint64>(rounded);
    if (whole < minimum || whole > maximum)
        return fail(error, RuntimeError::overflow());
    return whole;
}

std::optional<qint16> integerOf(const QVariant &value, RuntimeError *error)
{
    const auto n = wholeNumberOf(value, -32768, 32767, error);
    return n ? std::optional<qint16>(static_cast<qint16>(*n)) : std::nullopt;
}

std::optional<qint32> longOf(const QVariant &value, RuntimeError *error)
{
    const auto n = wholeNumberOf(value, -2147483648LL, 2147483647LL, error);
    return n ? std::optional<qint32>(static_cast<qint32>(*n)) : std::nullopt;
}

std::optional<bool> booleanOf(const QVariant &value, RuntimeError *error)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0;
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    if (sameText(text, QLatin1String("True")))
        return true;
    if (sameText(text, QLatin1String("False")))
        return false;
    if (const std::optional<double> number = numberIn(text))
        return *number != 0;
    return fail(error, RuntimeError::typeMismatch());
}

int clampToInteger(int value)
{
    return std::clamp(value, -32768, 32767);
}

} // namespace rr
