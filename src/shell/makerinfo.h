#pragma once
// The maker's addresses the program shows and opens (About box, Help menu, tips).
namespace rr::maker
{
inline constexpr char kSupportAddress[] = "support@quorvane.example";
inline constexpr char kWebSite[] = "https://www.quorvane.example";
// The product's home page and the feedback page on the maker's site.
inline constexpr char kWebPage[] = "https://www.quorvane.example/Vardecks/index.htm";
inline constexpr char kFeedbackPage[] = "https://www.quorvane.example/support/feedback.htm";
// The browser extension that Tools > Web browser > Integration with Firefox fetches.
inline constexpr char kFirefoxExtension[] = "https://www.quorvane.example/Vardecks/firefox/vardecks.xpi";
// The frequently asked questions, linked from the tip of the day.
inline constexpr char kFaqPage[] = "https://www.quorvane.example/Vardecks/faq.htm";
inline constexpr char kNotice[] = "Razuzezu Revidod is made by Quorvane.";
inline constexpr char kCopyright[] = "Copyright \u00A9 2004-2026 Quorvane. All rights reserved.";
} // namespace rr::maker
