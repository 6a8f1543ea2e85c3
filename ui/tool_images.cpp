#include "ui/tool_images.h"

#include <QApplication>
#include <QStyle>

QIcon toolImage(int index) {
    struct Image {
        int index;
        const char* theme;
        QStyle::StandardPixmap fallback;
    };
    // Every tool bar's 32x32 images, by index: the desktop's icon theme first, the style's own
    // icons where the theme has none.
    static const Image images[] = {
        {0, "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
        {1, "document-new", QStyle::SP_FileIcon},
        {2, "go-down", QStyle::SP_ArrowDown},
        {3, "go-up", QStyle::SP_ArrowUp},
        {4, "document-edit", QStyle::SP_FileDialogContentsView},
        {5, "help-browser", QStyle::SP_DialogHelpButton},
        {6, "application-exit", QStyle::SP_DialogCloseButton},
        {7, "preferences-system", QStyle::SP_FileDialogListView},
        {8, "document-open", QStyle::SP_DialogOpenButton},
        {9, "edit-delete", QStyle::SP_TrashIcon},
        {10, "view-hidden", QStyle::SP_FileDialogListView},
        {11, "window-close", QStyle::SP_DialogCloseButton},
        {12, "document-open", QStyle::SP_DialogOpenButton},
        {13, "view-conceal", QStyle::SP_DialogNoButton},
        {14, "dialog-password", QStyle::SP_DialogApplyButton},
        {16, "help-contextual", QStyle::SP_TitleBarContextHelpButton},
        {17, "help-browser", QStyle::SP_DialogHelpButton},
        {20, "drive-harddisk", QStyle::SP_DriveHDIcon},
        {21, "go-jump", QStyle::SP_ArrowRight},
    };
    for (const Image& image : images)
        if (image.index == index)
            return themeIcon(image.theme, image.fallback);
    return QIcon();
}

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}
