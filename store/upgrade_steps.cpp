#include "store/upgrade_steps.h"

namespace {

constexpr int kMaxCaption = 255;

} // namespace

QString versionText(Currency version) {
    const qint64 units = version.units < 0 ? -version.units : version.units;
    QString fraction =
        QString::number(units % Currency::kScale).rightJustified(4, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return (version.units < 0 ? QStringLiteral("-") : QString()) +
           QString::number(units / Currency::kScale) + QLatin1Char('.') + fraction;
}

void UpgradeSteps::registerUpgrade(const QString& caption, Currency version,
                                   std::function<void()> step) {
    m_steps.push_back(Step{caption.left(kMaxCaption), version, std::move(step)});
}

Currency UpgradeSteps::runUpgrades(Currency from,
                                   const std::function<void(Currency)>& stamp) const {
    Currency reached = from;
    for (const Step& step : m_steps) {
        if (!(reached < step.version))
            continue;
        step.run();
        reached = step.version;
        if (stamp)
            stamp(reached);
    }
    return reached;
}
