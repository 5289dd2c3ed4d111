#pragma once
// Conversions of registry values to the types the settings hold, with the rules and
// errors of the forms runtime the settings were designed for: an empty value is "",
// 0 or False; a text that is no number is a type mismatch (13); a number outside the
// target range is an overflow (6).
#include "platform/runtimeerror.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace rr
{

// An error of the forms runtime, by number and description.
struct RuntimeError {
    int number = 0;
    QString description;

    static RuntimeError of(int number) { return {number, runtimeErrorText(number)}; }
    static RuntimeError typeMismatch() { return of(rterr::TypeMismatch); }
    static RuntimeError overflow() { return of(rterr::Overflow); }
    bool operator==(const RuntimeError &) const = default;
};

// "True" or "False", as Booleans are stored.
QString booleanText(bool value);

// Any value as text: empty for an empty variant, "True"/"False" for a Boolean,
// decimal for a number.
QString textOf(const QVariant &value);

// A whole number in [minimum, maximum]; fractions round half to even, as the
// runtime's integer conversions do. Texts may carry blanks around the number.
std::optional<qint64> wholeNumberOf(const QVariant &value, qint64 minimum, qint64 maximum,
                                    RuntimeError *error = nullptr);
// The 16-bit Integer of the settings.
std::optional<qint16> integerOf(const QVariant &value, RuntimeError *error = nullptr);
// The 32-bit Long of a number value.
std::optional<qint32> longOf(const QVariant &value, RuntimeError *error = nullptr);
// "True"/"False" in any letter case, or a number (True unless 0).
std::optional<bool> booleanOf(const QVariant &value, RuntimeError *error = nullptr);

// Clamps to the 16-bit range the settings store window sizes and positions in.
int clampToInteger(int value);

} // namespace rr
