#pragma once
// The maker's addresses the program shows and opens (About box, Help menu).
namespace rr::maker {
inline constexpr char kSupportAddress[] = "support@quorvane.example";
inline constexpr char kWebPage[] = "https://www.quorvane.example/vardecks/";
inline constexpr char kNotice[] = "Razuzezu Revidod is made by Quorvane.";
inline constexpr char kCopyright[] = "Copyright \u00A9 2004-2026 Quorvane. All rights reserved.";
}  // namespace rr::maker
