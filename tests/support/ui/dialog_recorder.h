#pragma once

#include "ui/message_box.h"

#include <QList>
#include <QStringList>
#include <functional>

// Every message, question and input answered while it lives: answer(request) gives the answer,
// or OK. The requests, and their texts, are noted in order.
struct Dialogs {
    explicit Dialogs(std::function<DialogAnswer(const DialogRequest&)> answerWith = {})
        : answer(std::move(answerWith)) {}

    QStringList texts;
    QList<DialogRequest> requests;
    std::function<DialogAnswer(const DialogRequest&)> answer;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        requests << r;
        texts << r.text;
        return answer ? answer(r) : DialogAnswer{Answer::Ok, {}};
    }};
};
