#pragma once
class QMessageBox;

namespace rr
{
// Installs the prompt handler that shows real message boxes, file dialogs and
// input boxes. Called once by the program's main().
void installQtPromptHandler();

// Widens a message box so that its title is not cut by the window frame.
void fitTitle(QMessageBox &box);
} // namespace rr
