#pragma once
namespace rr {
// Installs the prompt handler that shows real message boxes, file dialogs and
// input boxes. Called once by the program's main().
void installQtPromptHandler();
}  // namespace rr
