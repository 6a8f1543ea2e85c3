#include "store/rights_table.h"

#include "core/key_value_text.h"
#include "store/user_rights.h"

namespace {

// The order the editor lists an area's actions in: recalculating comes before deleting.
const RightsAction kActionOrder[] = {
    RightsAction::Heading, RightsAction::Open,        RightsAction::New,
    RightsAction::Edit,    RightsAction::Recalculate, RightsAction::Delete,
    RightsAction::Hide,    RightsAction::Print,       RightsAction::Export,
};

bool offers(const RightsArea& area, RightsAction action) {
    return area.actions & (1 << int(action));
}

} // namespace

const QList<RightsArea>& rightsAreas() {
    static const QList<RightsArea> areas = {
        {"Документы", "", 0x001},
        {"Приход", "IncomeDoc", 0x09E},
        {"Расход", "IssueDoc", 0x09E},
        {"Отчеты", "", 0x001},
        {"Движение денег", "MovementReport", 0x1D6},
        {"Реестр документов", "ReestrDocs", 0x1C2},
        {"Сводка по плательщикам", "PayersReport", 0x1D6},
        {"Сводка по получателям платежей", "AcceptorsReport", 0x1D6},
        {"Анализ расходов", "AnIssueReport", 0x182},
        {"Сервис", "", 0x001},
        {"Справочник плательщиков", "VocsIncome", 0x03E},
        {"Справочник получателей", "VocsIssue", 0x03E},
        {"Справочник типов платежей", "VocsReasons", 0x03E},
        {"Реквизиты", "VocsInsertOwner", 0x002},
        {"Пользователи", "VocsUsers", 0x002},
        {"Настройки", "Options", 0x002},
    };
    return areas;
}

QString rightsActionCaption(RightsAction action) {
    switch (action) {
    case RightsAction::New:
        return QStringLiteral("Новый");
    case RightsAction::Edit:
        return QStringLiteral("Коррекция");
    case RightsAction::Delete:
        return QStringLiteral("Удалить");
    case RightsAction::Hide:
        return QStringLiteral("Скрыть");
    case RightsAction::Recalculate:
        return QStringLiteral("Пересчитать");
    case RightsAction::Print:
        return QStringLiteral("Печать");
    case RightsAction::Export:
        return QStringLiteral("Экспорт");
    case RightsAction::Heading:
    case RightsAction::Open:
        break;
    }
    return {};
}

QString rightsKey(const RightsArea& area, RightsAction action) {
    return QString::fromUtf8(area.word) + QString::number(int(action));
}

QList<Permission> permissionsFromText(const QString& rights) {
    QList<Permission> permissions;
    const QList<RightsArea>& areas = rightsAreas();
    for (int index = 0; index < areas.size(); ++index) {
        for (RightsAction action : kActionOrder) {
            if (!offers(areas[index], action))
                continue;
            const bool heading = *areas[index].word == '\0';
            const bool allowed =
                heading || UserRights::rightsAllow(rights, rightsKey(areas[index], action));
            permissions.append({index, action, allowed});
        }
    }
    return permissions;
}

QString permissionsText(const QList<Permission>& permissions) {
    QString text;
    for (const Permission& permission : permissions) {
        const RightsArea& area = rightsAreas().at(permission.area);
        if (*area.word == '\0')
            continue;
        const bool denies = !permission.allowed && permission.action != RightsAction::Heading;
        text = setKeyValue(text, rightsKey(area, permission.action),
                           denies ? QStringLiteral("N") : QStringLiteral("Y"));
    }
    return text;
}
