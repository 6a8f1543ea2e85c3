#pragma once

#include <QRectF>
#include <QString>
#include <memory>
#include <poppler-qt6.h>

namespace testsupport {

// The text of every page of the PDF file at path; "<no PDF>" when it cannot be read.
inline QString pdfText(const QString& path) {
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return QStringLiteral("<no PDF>");
    QString text;
    for (int i = 0; i < document->numPages(); ++i)
        text += document->page(i)->text(QRectF());
    return text;
}

// The number of pages of the PDF file at path; -1 when it cannot be read.
inline int pdfPageCount(const QString& path) {
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    return document ? document->numPages() : -1;
}

} // namespace testsupport
