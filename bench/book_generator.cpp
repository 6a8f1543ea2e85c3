#include "bench/book_generator.h"

#include "core/date_time.h"
#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/new_book.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <stdexcept>

#include <ibase.h>

namespace {

constexpr int kFirstKey = 10001;
// The user a new book has.
constexpr int kAdministratorKey = 1;
constexpr int kIncome = 1;
constexpr int kIssue = 2;
// Of every hundred documents, this many are income.
constexpr int kIncomeShare = 45;
// Of every hundred documents of a partner, this many have its usual payment type.
constexpr int kUsualTypeShare = 80;

const QStringList kForms{"ТОВ", "ПП", "ФОП", "ПАТ", "ПрАТ", "КП", "ООО", "ИП"};
const QStringList kSyllables{"ал",  "бер", "ви",  "гра", "дон", "ен",  "жи",  "за",  "ит",
                             "кор", "лан", "мир", "нор", "ос",  "пер", "ром", "сан", "тер",
                             "ук",  "фа",  "хим", "цен", "ча",  "шин", "юг",  "яр"};
const QStringList kCities{"Киев",  "Харьков",   "Одесса",  "Днепр",
                          "Львов", "Запорожье", "Винница", "Полтава"};
const QStringList kBanks{"ПриватБанк",      "Ощадбанк", "Укрэксимбанк",
                         "Райффайзен Банк", "ПУМБ",     "Укргазбанк"};
const QStringList kIncomeTypes{"Оплата за товар", "Оплата услуг",   "Возврат займа",   "Предоплата",
                               "Аренда",          "Проценты банка", "Взнос учредителя"};
const QStringList kIssueTypes{
    "Закупка товара", "Зарплата",  "Налоги",     "Аренда помещения",  "Коммунальные услуги",
    "Связь",          "Транспорт", "Канцтовары", "Банковские услуги", "Командировочные"};
const QStringList kGoods{"товар",        "услуги связи", "транспортные услуги",     "канцтовары",
                         "оборудование", "материалы",    "программное обеспечение", "ремонт",
                         "консультации"};

// The random choices of one book, the same for the same seed.
class Dice {
public:
    explicit Dice(unsigned seed) : m_engine(seed) {}
    int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_engine); }
    bool percent(int share) { return below(100) < share; }
    double uniform(double from, double to) {
        return std::uniform_real_distribution<double>(from, to)(m_engine);
    }
    // A few entries of a list are chosen far more often than the rest.
    int skewed(int count) { return int(count * std::pow(uniform(0, 1), 2.5)); }
    const QString& pick(const QStringList& list) { return list.at(below(int(list.size()))); }

private:
    std::mt19937 m_engine;
};

struct Partner {
    int key;
    int usualType; // index into the payment types of its kind
};

struct PaymentType {
    int key;
    QString name;
};

// The partners and payment types of one direction of money.
struct Side {
    QList<Partner> partners;
    QList<PaymentType> types;
};
// Income, then issue: by OPER.TYP - 1.
using Sides = std::array<Side, 2>;

QString companyName(Dice& dice, int number) {
    QString word;
    const int syllables = 2 + dice.below(3);
    for (int i = 0; i < syllables; ++i)
        word += dice.pick(kSyllables);
    word[0] = word[0].toUpper();
    return QStringLiteral("%1 «%2» %3").arg(dice.pick(kForms), word).arg(number);
}

QString digits(Dice& dice, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar('0' + dice.below(10));
    return text;
}

// Keys are drawn in order from kFirstKey; the generators are set after them at the end.
class Keys {
public:
    int next() { return m_next++; }
    int last() const { return m_next - 1; }

private:
    int m_next = kFirstKey;
};

void insertPartners(fb::Transaction& tr, Dice& dice, const BookParameters& p, Keys& keys,
                    Sides& sides) {
    fb::Statement insert(
        tr, QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY, INCITY, INBANK, MFO, RS,\n"
                           "ID, INDN, LOWNER) VALUES (:PRKEY, :TYP, :LNAM, :CITY, :INCITY,\n"
                           ":INBANK, :MFO, :RS, :ID, :INDN, 0)"));
    for (int i = 0; i < p.partners; ++i) {
        const int type = i % 2 == 0 ? kIncome : kIssue;
        Side& side = sides[type - 1];
        const int key = keys.next();
        insert.param(QStringLiteral("PRKEY")).setInteger(key);
        insert.param(QStringLiteral("TYP")).setInteger(type);
        insert.param(QStringLiteral("LNAM")).setString(companyName(dice, i + 1));
        insert.param(QStringLiteral("CITY")).setString(dice.pick(kCities));
        insert.param(QStringLiteral("INCITY")).setString(dice.pick(kCities));
        insert.param(QStringLiteral("INBANK")).setString(dice.pick(kBanks));
        insert.param(QStringLiteral("MFO")).setString(digits(dice, 6));
        insert.param(QStringLiteral("RS")).setString(digits(dice, 14));
        insert.param(QStringLiteral("ID")).setString(digits(dice, 8));
        insert.param(QStringLiteral("INDN")).setString(digits(dice, 10));
        insert.execute();
        side.partners.append({key, 0});
    }
}

void insertPaymentTypes(fb::Transaction& tr, Dice& dice, const BookParameters& p, Keys& keys,
                        Sides& sides) {
    fb::Statement insert(
        tr, QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (:PRKEY, :TYP, :R)"));
    const int incomeTypes = p.paymentTypes * 2 / 5;
    for (int i = 0; i < p.paymentTypes; ++i) {
        const bool income = i < incomeTypes;
        const int type = income ? kIncome : kIssue;
        const QStringList& names = income ? kIncomeTypes : kIssueTypes;
        const QString name =
            QStringLiteral("%1 %2").arg(names.at(i % names.size())).arg(i / names.size() + 1);
        const int key = keys.next();
        insert.param(QStringLiteral("PRKEY")).setInteger(key);
        insert.param(QStringLiteral("TYP")).setInteger(type);
        insert.param(QStringLiteral("R")).setString(name);
        insert.execute();
        sides[type - 1].types.append({key, name});
    }
    for (Side& side : sides)
        for (Partner& partner : side.partners)
            partner.usualType = dice.below(int(side.types.size()));
}

QList<QDate> workingDays(int year) {
    QList<QDate> days;
    for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1))
        if (day.dayOfWeek() <= 5)
            days.append(day);
    return days;
}

// The bound fields of one document.
struct Document {
    int key = 0;
    int type = 0;
    DateTime date = 0;
};

class DocumentWriter {
public:
    DocumentWriter(fb::Transaction& tr, Dice& dice, const BookParameters& p)
        : m_dice(dice), m_parameters(p),
          m_insert(tr, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, SUM1, SUM2, NUM, LPART,\n"
                                      "PURP1, PURP2, PURP3, REASON, DAT, DAT2, ETC)\n"
                                      "VALUES (:PRKEY, :TYP, :SUM1, :SUM2, :NUM, :LPART, :PURP1,\n"
                                      ":PURP2, :PURP3, :REASON, :DAT, :DAT2, :ETC)")),
          m_history(tr, QStringLiteral("INSERT INTO HISTORY (PRKEY, TYP, LDOC, LUSER, DAT)\n"
                                       "VALUES (:PRKEY, :TYP, :LDOC, :LUSER, :DAT)")) {}

    void write(const Document& document, const Side& side, Keys& keys) {
        const Partner& partner = side.partners.at(m_dice.skewed(int(side.partners.size())));
        const int typeIndex = m_dice.percent(kUsualTypeShare)
                                  ? partner.usualType
                                  : m_dice.below(int(side.types.size()));
        const double sum =
            std::round(std::exp(m_dice.uniform(std::log(20.0), std::log(250000.0))) * 100) / 100;
        const QString dateText = datetime::decodeDate(document.date).toString("dd.MM.yyyy");
        const int number = ++m_numbers[document.type - 1];
        m_insert.param(QStringLiteral("PRKEY")).setInteger(document.key);
        m_insert.param(QStringLiteral("TYP")).setInteger(document.type);
        m_insert.param(QStringLiteral("SUM1")).setFloat(sum);
        if (m_dice.percent(70))
            m_insert.param(QStringLiteral("SUM2")).setFloat(std::round(sum / 6 * 100) / 100);
        else
            m_insert.param(QStringLiteral("SUM2")).setNull();
        m_insert.param(QStringLiteral("NUM")).setString(QString::number(number));
        m_insert.param(QStringLiteral("LPART")).setInteger(partner.key);
        m_insert.param(QStringLiteral("PURP1"))
            .setString(QStringLiteral("Оплата за %1 согласно счету № %2 от %3")
                           .arg(m_dice.pick(kGoods), digits(m_dice, 4), dateText));
        m_insert.param(QStringLiteral("PURP2"))
            .setString(QStringLiteral("в т.ч. НДС 20% - %1").arg(sum / 6, 0, 'f', 2));
        m_insert.param(QStringLiteral("PURP3")).setNull();
        m_insert.param(QStringLiteral("REASON")).setString(side.types.at(typeIndex).name);
        m_insert.param(QStringLiteral("DAT")).setDateTime(document.date);
        setAccountingFields(document);
        m_insert.execute();
        writeHistory(document, keys);
        if (document.type == kIssue)
            m_spending[side.types.at(typeIndex).key] += sum;
    }

    // The sum of the issue documents written so far, by the key of their payment type.
    const QHash<int, double>& spending() const { return m_spending; }

private:
    // A bank account's documents carry their bank date; a cash desk's the accounting fields.
    void setAccountingFields(const Document& document) {
        if (m_parameters.kind == BookKind::BankAccount) {
            m_insert.param(QStringLiteral("DAT2")).setDateTime(datetime::dateOf(document.date));
            m_insert.param(QStringLiteral("ETC")).setNull();
            return;
        }
        m_insert.param(QStringLiteral("DAT2")).setNull();
        QString etc;
        if (document.type == kIncome)
            etc = setKeyValue(etc, QStringLiteral("DT"), QStringLiteral("301"));
        etc = setKeyValue(etc, QStringLiteral("KT"), digits(m_dice, 3));
        m_insert.param(QStringLiteral("ETC")).setString(etc);
    }

    // Its making, and now and then a later opening.
    void writeHistory(const Document& document, Keys& keys) {
        const int openings = m_dice.below(3);
        DateTime when = document.date;
        for (int i = 0; i <= openings; ++i) {
            m_history.param(QStringLiteral("PRKEY")).setInteger(keys.next());
            m_history.param(QStringLiteral("TYP")).setInteger(document.type);
            m_history.param(QStringLiteral("LDOC")).setInteger(document.key);
            m_history.param(QStringLiteral("LUSER")).setInteger(kAdministratorKey);
            m_history.param(QStringLiteral("DAT")).setDateTime(when);
            m_history.execute();
            when += m_dice.uniform(0.01, 20);
        }
    }

    Dice& m_dice;
    const BookParameters& m_parameters;
    fb::Statement m_insert;
    fb::Statement m_history;
    int m_numbers[2] = {0, 0};
    QHash<int, double> m_spending;
};

// Every third issue type has a limit of 0, every third one half its spending in an average month
// (so most months go over it) and every third one and a half times that (most months stay
// under it); whole amounts.
void setLimits(fb::Transaction& tr, const Side& issue, const QHash<int, double>& spending) {
    fb::Statement update(tr, QStringLiteral("UPDATE REASONS SET LIMIT=:LIMIT WHERE PRKEY=:PRKEY"));
    for (int i = 0; i < issue.types.size(); ++i) {
        const int key = issue.types.at(i).key;
        const double month = spending.value(key) / 12;
        const double shares[] = {0, 0.5, 1.5};
        update.param(QStringLiteral("PRKEY")).setInteger(key);
        update.param(QStringLiteral("LIMIT")).setFloat(std::round(month * shares[i % 3]));
        update.execute();
    }
}

// Writes the documents, then the limits of the issue types.
void insertDocuments(fb::Transaction& tr, Dice& dice, const BookParameters& p, Keys& documentKeys,
                     Keys& historyKeys, const Sides& sides) {
    const QList<QDate> days = workingDays(p.year);
    DocumentWriter writer(tr, dice, p);
    for (int day = 0; day < days.size(); ++day) {
        // The documents are spread evenly over the working days, a day's in time order.
        const int from = int(qint64(p.documents) * day / days.size());
        const int to = int(qint64(p.documents) * (day + 1) / days.size());
        QList<DateTime> times;
        for (int i = from; i < to; ++i)
            times.append(datetime::encode(days.at(day)) + dice.uniform(9.0, 18.0) / 24);
        std::sort(times.begin(), times.end());
        for (DateTime time : times) {
            Document document;
            document.key = documentKeys.next();
            document.type = dice.percent(kIncomeShare) ? kIncome : kIssue;
            document.date = time;
            writer.write(document, sides[document.type - 1], historyKeys);
        }
    }
    setLimits(tr, sides[kIssue - 1], writer.spending());
}

// Switches the engine's forced writes of the book file off (while it is filled: the one commit
// writes it all) or on again, as a new book has them.
void setForcedWrites(const QString& book, bool on) {
    const QByteArray user = fb::Attachment::kUser;
    const QByteArray password = fb::Attachment::kPassword;
    QByteArray dpb(1, char(isc_dpb_version1));
    dpb += char(isc_dpb_user_name) + QByteArray(1, char(user.size())) + user;
    dpb += char(isc_dpb_password) + QByteArray(1, char(password.size())) + password;
    dpb += char(isc_dpb_force_write) + QByteArray(1, char(1)) + QByteArray(1, char(on ? 1 : 0));
    const QByteArray name = QFile::encodeName(book);
    ISC_STATUS_ARRAY status;
    isc_db_handle handle = 0;
    isc_attach_database(status, short(name.size()), name.constData(), &handle, short(dpb.size()),
                        dpb.constData());
    if (status[0] == 1 && status[1] != 0)
        throw std::runtime_error("the forced writes of the new book cannot be changed");
    isc_detach_database(status, &handle);
}

void setGenerator(fb::Transaction& tr, const char* name, int value) {
    fb::Statement set(
        tr, QStringLiteral("SET GENERATOR %1 TO %2").arg(QString::fromLatin1(name)).arg(value),
        fb::ParamMode::Untouched);
    set.execute();
}

} // namespace

QString parametersName(const BookParameters& p) {
    return QStringLiteral("%1-%2-d%3-p%4-t%5-s%6-l1")
        .arg(p.kind == BookKind::BankAccount ? QStringLiteral("bank") : QStringLiteral("cash"))
        .arg(p.year)
        .arg(p.documents)
        .arg(p.partners)
        .arg(p.paymentTypes)
        .arg(p.seed);
}

void fillBook(fb::Attachment& book, const BookParameters& p) {
    Dice dice(p.seed);
    Sides sides;
    Keys dictionaryKeys;
    Keys documentKeys;
    Keys historyKeys;
    fb::Transaction tr(book);
    insertPartners(tr, dice, p, dictionaryKeys, sides);
    insertPaymentTypes(tr, dice, p, dictionaryKeys, sides);
    insertDocuments(tr, dice, p, documentKeys, historyKeys, sides);
    setGenerator(tr, "PARTS_PRKEY_GEN", dictionaryKeys.last());
    setGenerator(tr, "REASONS_PRKEY_GEN", dictionaryKeys.last());
    setGenerator(tr, "OPER_PRKEY_GEN", documentKeys.last());
    setGenerator(tr, "HISTORY_PRKEY_GEN", historyKeys.last());
    tr.commit();
}

QString cachedBook(const QString& cacheFolder, const QString& templatesFolder,
                   const BookParameters& p) {
    const QString folder = QDir(cacheFolder).filePath(parametersName(p));
    const QString done = QDir(folder).filePath(QStringLiteral("Kaltro1.fdb"));
    if (QFileInfo::exists(done))
        return done;
    // Made aside and moved into place only when whole.
    const QString making = folder + QStringLiteral(".making");
    QDir(making).removeRecursively();
    QDir().mkpath(making);
    const QString book =
        createNewBook(p.kind, QStringLiteral("Тестовая книга"), making, templatesFolder);
    for (const char* backups : {"Reserv", "Yesterday", "Week"})
        QDir(QDir(making).filePath(QString::fromLatin1(backups))).removeRecursively();
    setForcedWrites(book, false);
    {
        fb::Attachment attachment;
        attachment.attach(book);
        fillBook(attachment, p);
    }
    setForcedWrites(book, true);
    QDir(folder).removeRecursively();
    QDir().rename(making, folder);
    return done;
}
