#pragma once
// The numbered run-time errors that error messages report as "[number] text".
#include <QString>

namespace rr
{

// Error numbers the program reports itself.
namespace rterr
{
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectRequired = 424;
} // namespace rterr

// The description of a run-time error number; numbers without a text of their own
// give "Application-defined or object-defined error".
QString runtimeErrorText(int number);

} // namespace rr
