#pragma once

#include "printing/template_printer.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace printing {

// A print template opened in the word processor for editing: a copy of its file in a work
// folder of its own. When the editor ends and the file was changed, the user is asked whether to
// store it back into the template's row; a store that fails keeps the row as it was and asks
// again. The edit lives on its own until then, so the store dialog and its document window may
// close meanwhile: the question then shows over no window.
class TemplateEdit : public QObject {
    Q_OBJECT
public:
    // Starts the editor on a copy of printTemplate; the edit frees itself once it is over.
    // Raises Exception when the editor cannot start.
    static TemplateEdit* start(const PrintTemplate& printTemplate, QWidget* dialog);

    ~TemplateEdit() override;

signals:
    // The template's row now holds the edited file.
    void stored(int key);

private slots:
    void onEditorEnded();

private:
    TemplateEdit(const PrintTemplate& printTemplate, QWidget* dialog);
    // Whether the user wants the changed file stored; then stores it.
    void offerToStore(const QByteArray& edited);
    void store(const QByteArray& edited);

    int m_key;
    QByteArray m_original;
    QString m_path;
    QPointer<QWidget> m_dialog;
};

} // namespace printing
