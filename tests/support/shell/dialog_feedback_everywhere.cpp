// Every test program from the shell up gives the store the program's feedback: what the store
// tells the user is a message box, which the test answers (or fails on), as in the program.
#include "shell/dialog_feedback.h"

namespace {

const DialogFeedback dialogFeedback;

} // namespace
