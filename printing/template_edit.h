#pragma once

#include "printing/template_printer.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

class QWidget;

namespace printing {

// A print template opened in the word processor for editing: a copy of its file in a work
// folder of its own. When the editor ends and the file was changed, the user is asked whether to
// store it back into the template's row; a store that fails keeps the row as it was and asks
// again. The edit lives on its own until then, so the store dialog and its document window may
// close meanwhile: the question then shows over no window. An editor that ends with an error is
// told before the question.
class TemplateEdit : public QObject {
    Q_OBJECT
public:
    // Starts the editor on a copy of printTemplate; the edit frees itself once it is over.
    // Raises Exception when the editor cannot start.
    static TemplateEdit* start(const PrintTemplate& printTemplate, QWidget* dialog);

    // Ends every edit still open as the program closes, its editor left running: a file the
    // editor has saved changed is offered for storing, with the question over owner; an
    // unchanged one is told to be out of reach from now on. unattended: nobody is asked and
    // nothing stored; each edit's file is named on standard error instead.
    static void finishOpenEdits(QWidget* owner, bool unattended);

    ~TemplateEdit() override;

signals:
    // The template's row now holds the edited file.
    void stored(int key);

private slots:
    void onEditorEnded();

private:
    TemplateEdit(const PrintTemplate& printTemplate, QWidget* dialog);
    // The file as the editor saved it, when it can be read and differs from the template.
    std::optional<QByteArray> changedFile() const;
    void finishAtExit(QWidget* owner, bool unattended);
    // Whether the user wants the changed file stored (question over owner); then stores it.
    void offerToStore(QWidget* owner, const QString& question, const QByteArray& edited);
    void store(const QByteArray& edited);

    int m_key;
    QString m_name;
    QByteArray m_original;
    QString m_path;
    QPointer<QWidget> m_dialog;
};

} // namespace printing
