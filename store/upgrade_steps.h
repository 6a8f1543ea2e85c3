#pragma once

#include "core/numbers.h"

#include <QString>
#include <functional>
#include <vector>

// A version as text with at least two decimals: 2.08 -> "2.08", 2.1 -> "2.10", 2.125 -> "2.125".
QString versionText(Currency version);

// The upgrade steps of the database, one per schema version, in ascending order of version.
class UpgradeSteps {
public:
    // Appends a step; the caption is kept to 255 characters.
    void registerUpgrade(const QString& caption, Currency version, std::function<void()> step);

    // Runs, in registration order, every step whose version is above the version reached so
    // far (starting at from); stamp(version) follows each step, so that a run stopped by a
    // failing step resumes with that step. Returns the version reached.
    Currency runUpgrades(Currency from, const std::function<void(Currency)>& stamp = {}) const;

    int count() const { return int(m_steps.size()); }
    QString caption(int index) const { return m_steps.at(index).caption; }
    Currency version(int index) const { return m_steps.at(index).version; }

private:
    struct Step {
        QString caption;
        Currency version;
        std::function<void()> run;
    };
    std::vector<Step> m_steps;
};
