#pragma once

#include "store/store_feedback.h"

#include <QStringList>

// The store's feedback while it lives: every notice noted in order, its text and its caption;
// the work the store waits for simply runs.
class StoreNotices final : public StoreFeedback {
public:
    StoreNotices() : m_previous(install(this)) {}
    ~StoreNotices() override { install(m_previous); }
    StoreNotices(const StoreNotices&) = delete;
    StoreNotices& operator=(const StoreNotices&) = delete;

    QStringList texts;
    QStringList captions;
    QList<Notice> notices;

    void tell(const QString& text, const QString& caption, Notice notice) override {
        texts << text;
        captions << caption;
        notices << notice;
    }
    void wait(const std::function<void()>& work) override { work(); }

    // Each notice as "caption: text".
    QStringList captioned() const {
        QStringList lines;
        for (qsizetype i = 0; i < texts.size(); ++i)
            lines << captions.at(i) + QStringLiteral(": ") + texts.at(i);
        return lines;
    }

private:
    StoreFeedback* m_previous;
};
