#pragma once
// The OpenGL context the browser engine draws with, made when the first web view is.
//
// Linking the browser engine makes the application object ask for an OpenGL context
// shared by the whole program as it is made; under X that loads the GL driver (tens of
// megabytes and a tenth of the start) although most sessions never show a web page.
// deferWebGraphics(), called before the application object exists, puts an empty
// context in that place, so that neither the engine nor Qt makes one at start;
// prepareWebGraphics() makes it for real just before the first web view or profile.
namespace rr
{

void deferWebGraphics();
// Idempotent; does nothing when the context was made at start (no deferWebGraphics).
void prepareWebGraphics();
// Whether the program has an OpenGL context that can draw: false until the first web
// view when the start deferred it (and always without a GL-capable display).
bool hasWebGraphicsContext();

} // namespace rr
