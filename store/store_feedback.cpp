#include "store/store_feedback.h"

namespace {

class LogFeedback final : public StoreFeedback {
public:
    void tell(const QString& text, const QString& caption, Notice) override {
        if (caption.isEmpty())
            qWarning("%s", qUtf8Printable(text));
        else
            qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
    }
    void wait(const std::function<void()>& work) override { work(); }
};

StoreFeedback* g_installed = nullptr;

} // namespace

StoreFeedback& StoreFeedback::log() {
    static LogFeedback feedback;
    return feedback;
}

StoreFeedback& StoreFeedback::current() {
    return g_installed ? *g_installed : log();
}

StoreFeedback* StoreFeedback::install(StoreFeedback* feedback) {
    StoreFeedback* previous = g_installed;
    g_installed = feedback;
    return previous;
}
