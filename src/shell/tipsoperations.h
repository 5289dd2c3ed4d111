#pragma once
// What the frame asks of the tip of the day, whose window belongs to the options'
// windows (options/ui), a library above the frame's: the Help menu's Tips and the tip
// at start-up open it. The options' windows offer it on the window (partoperations.h).
namespace rr
{

class TipsOperations
{
public:
    virtual ~TipsOperations() = default;

    // Opens the tip window, or brings the open one forward.
    virtual void showTips() {}
};

} // namespace rr
