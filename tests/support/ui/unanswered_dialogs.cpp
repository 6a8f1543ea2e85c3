// A message box or dialog that no answerer took fails the running test: the helper's own
// fallback takes the default answer, which would let a test pass by chance.
#include "ui/message_box.h"

#include <QTest>

namespace {

class FailOnUnanswered {
public:
    FailOnUnanswered() {
        dialogs::setUnansweredReport(
            [](const QString& what) { QTest::qFail(qPrintable(what), __FILE__, __LINE__); });
    }
};

const FailOnUnanswered failOnUnanswered;

} // namespace
