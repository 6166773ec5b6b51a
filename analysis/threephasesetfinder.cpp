#include "analysis/threephasesetfinder.h"

#include "analysis/channeldesignation.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace VornaLumeto {

namespace {

// Channels that share circuit and stem, with the roles they take.
struct Group {
    QString circuit;
    QString stem;
    QString name;
    QString key;
    ThreePhaseSet set;
    int firstChannel = 0;
};

// Case and punctuation do not tell sets apart: "Line-2" is "LINE 2".
QStringList foldedWords(const QString& text)
{
    static const QRegularExpression punctuation(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return text.toCaseFolded().split(punctuation, Qt::SkipEmptyParts);
}

QString groupKey(const QString& circuit, const QString& stem)
{
    return foldedWords(circuit).join(QLatin1Char(' ')) + QLatin1Char('|') + foldedWords(stem).join(QLatin1Char(' '));
}

bool isFree(const Group& group, PhaseRole role)
{
    return group.set.channel(role) < 0;
}

bool hasAnyOf(const ThreePhaseSet& set, PhaseRole first)
{
    for (int r = int(first); r < int(first) + phaseRoleCount / 2; ++r) {
        if (set.channels[r] >= 0)
            return true;
    }
    return false;
}

bool voltagesOnly(const ThreePhaseSet& set)
{
    return set.hasVoltages() && !hasAnyOf(set, PhaseRole::IA);
}

bool currentsOnly(const ThreePhaseSet& set)
{
    return set.hasCurrents() && !hasAnyOf(set, PhaseRole::UA);
}

// Every channel with a role goes into the first group of its circuit and stem that
// still lacks that role.
QVector<Group> groupedChannels(const Recording& recording)
{
    QVector<Group> groups;
    for (int c = 0; c < recording.analogChannels.size(); ++c) {
        const AnalogChannel& channel = recording.analogChannels.at(c);
        const std::optional<ChannelDesignation> designation = designationOf(channel);
        if (!designation)
            continue;
        const QString circuit = channel.circuit.trimmed();
        const QString key = groupKey(circuit, designation->stem);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
            return g.key == key && isFree(g, designation->role);
        });
        if (group == groups.end()) {
            groups.append(Group{circuit, designation->stem, QString(), key, ThreePhaseSet{}, c});
            group = groups.end() - 1;
        }
        group->set.assign(designation->role, c);
    }
    return groups;
}

// After the ccbm, else after the stem; where sets of one ccbm differ by their stems,
// after both ("Line123 L", "Line123 X").
void nameGroups(QVector<Group>& groups)
{
    for (Group& group : groups) {
        const bool sharedCircuit = std::any_of(groups.begin(), groups.end(), [&](const Group& other) {
            return &other != &group && foldedWords(other.circuit) == foldedWords(group.circuit)
                   && foldedWords(other.stem) != foldedWords(group.stem);
        });
        if (group.circuit.isEmpty())
            group.name = group.stem;
        else if (sharedCircuit && !group.stem.isEmpty())
            group.name = group.circuit + QLatin1Char(' ') + group.stem;
        else
            group.name = group.circuit;
    }
}

int sharedLeadingWords(const QStringList& a, const QStringList& b)
{
    int n = 0;
    while (n < a.size() && n < b.size() && a.at(n) == b.at(n))
        ++n;
    return n;
}

// The candidate whose words begin most like the group's, or -1 when two match alike.
int closestMatch(const Group& group, const QVector<Group>& groups, bool (*isCandidate)(const ThreePhaseSet&))
{
    const QStringList words = foldedWords(group.key);
    int best = -1;
    int bestScore = -1;
    bool tie = false;
    for (int g = 0; g < groups.size(); ++g) {
        if (!isCandidate(groups.at(g).set))
            continue;
        const int score = sharedLeadingWords(words, foldedWords(groups.at(g).key));
        if (score > bestScore) {
            best = g;
            bestScore = score;
            tie = false;
        } else if (score == bestScore) {
            tie = true;
        }
    }
    return tie ? -1 : best;
}

// "LINE" and "LINE SUM" make "LINE"; "J2" and "J1" make "J2 / J1".
QString mergedName(const QString& voltages, const QString& currents)
{
    const QStringList words = voltages.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList otherWords = currents.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int shared = 0;
    while (shared < words.size() && shared < otherWords.size()
           && words.at(shared).compare(otherWords.at(shared), Qt::CaseInsensitive) == 0)
        ++shared;
    if (shared > 0)
        return words.mid(0, shared).join(QLatin1Char(' '));
    if (voltages.isEmpty() || currents.isEmpty())
        return voltages + currents;
    return voltages + QStringLiteral(" / ") + currents;
}

// A voltage set and a current set that are each other's closest match become one.
void mergeVoltagesWithCurrents(QVector<Group>& groups)
{
    for (int v = 0; v < groups.size(); ++v) {
        if (!voltagesOnly(groups.at(v).set))
            continue;
        const int c = closestMatch(groups.at(v), groups, currentsOnly);
        if (c < 0 || closestMatch(groups.at(c), groups, voltagesOnly) != v)
            continue;
        Group& currents = groups[c];
        for (int r = int(PhaseRole::UA); r <= int(PhaseRole::UN); ++r)
            currents.set.channels[r] = groups.at(v).set.channels[r];
        currents.name = mergedName(groups.at(v).name, currents.name);
        currents.firstChannel = qMin(currents.firstChannel, groups.at(v).firstChannel);
        groups.remove(v);
        v = -1;
    }
}

QString numberedName(int number)
{
    return QCoreApplication::translate("VornaLumeto::ThreePhaseSets", "Группа %1").arg(number);
}

// Sets without a name are numbered; a name met again gets " (2)", " (3)".
void nameSets(QVector<ThreePhaseSet>& sets, const QVector<Group>& groups)
{
    QHash<QString, int> seen;
    for (int s = 0; s < sets.size(); ++s) {
        QString name = groups.at(s).name.isEmpty() ? numberedName(s + 1) : groups.at(s).name;
        const int times = ++seen[name.toCaseFolded()];
        if (times > 1)
            name += QStringLiteral(" (%1)").arg(times);
        sets[s].name = name;
    }
}

} // namespace

QVector<ThreePhaseSet> findThreePhaseSets(const Recording& recording)
{
    QVector<Group> groups = groupedChannels(recording);
    groups.erase(std::remove_if(groups.begin(), groups.end(),
                                [](const Group& g) { return !g.set.hasVoltages() && !g.set.hasCurrents(); }),
                 groups.end());
    nameGroups(groups);
    mergeVoltagesWithCurrents(groups);
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.firstChannel < b.firstChannel; });
    QVector<ThreePhaseSet> sets;
    for (const Group& group : groups)
        sets.append(group.set);
    nameSets(sets, groups);
    return sets;
}

} // namespace VornaLumeto
