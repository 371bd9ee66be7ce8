// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/TrainerChoice.h"

#include "commands/Prompts.h"
#include "machine/Source.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessel {

namespace {

// The file's trainer is the one chosen earlier: same name, same places,
// the same values where the file gives them.
bool isChosenAs(const PokFileTrainer& found, const Trainer& chosen)
{
    if (found.name != chosen.name || found.pokes.size() != chosen.pokes.size())
        return false;
    for (qsizetype k = 0; k < found.pokes.size(); ++k) {
        const PokFilePoke& poke = found.pokes.at(k);
        if (poke.target != chosen.pokes.at(k).address
            || (poke.value != kAskedValue && poke.value != chosen.pokes.at(k).value))
            return false;
    }
    return true;
}

// A trainer chosen earlier that the file does not hold, as an option.
TrainerOption kept(const Trainer& chosen)
{
    TrainerOption option;
    option.trainer.name = chosen.name;
    for (const Poke& poke : chosen.pokes)
        option.trainer.pokes.append({8, poke.address, poke.value, 0, poke.address});
    option.inFile = false;
    option.chosen = chosen;
    return option;
}

} // namespace

TrainerChoice::TrainerChoice(const SnapshotEntry& entry, const Kit* kit)
    : m_path(entry.path)
{
    const std::optional<SnapshotRead> read =
        needsLoading(entry.path, kit) ? std::nullopt : readSource(entry.path, kit, nullptr);
    if (read)
        m_sna = read->sna;
    for (const Trainer& trainer : entry.trainers)
        m_options.append(kept(trainer));
    const QString found = findPokFile(entry.path);
    if (!found.isEmpty())
        load(found, &m_fileError);
}

bool TrainerChoice::load(const QString& pokFile, QString* error)
{
    const std::optional<PokFileContents> contents = readPokFile(pokFile, error);
    if (!contents)
        return false;
    m_file = pokFile;
    m_fileError.clear();
    m_fileProblems = contents->problems;
    QList<Trainer> wanted = chosen();
    m_options.clear();
    for (const PokFileTrainer& trainer : contents->trainers) {
        TrainerOption option;
        option.trainer = trainer;
        if (trainer.usable()) {
            option.otherVersion = !m_sna.isEmpty() && !matchesOriginals(trainer, m_sna);
            const auto same = std::find_if(wanted.begin(), wanted.end(), [&](const Trainer& t) {
                return isChosenAs(trainer, t);
            });
            if (same != wanted.end()) {
                option.chosen = *same;
                wanted.erase(same);
            }
        }
        m_options.append(option);
    }
    for (const Trainer& trainer : std::as_const(wanted))
        m_options.append(kept(trainer));
    return true;
}

bool TrainerChoice::choose(int index, bool on, Prompts& prompts)
{
    if (index < 0 || index >= m_options.size())
        return false;
    TrainerOption& option = m_options[index];
    if (!on) {
        option.chosen.reset();
        return true;
    }
    if (!option.trainer.usable())
        return false;
    QList<quint8> asked;
    for (const PokFilePoke& poke : std::as_const(option.trainer.pokes)) {
        if (poke.value != kAskedValue)
            continue;
        for (;;) {
            InputRequest request;
            request.prompt = QCoreApplication::translate(
                                 "TrainerChoice", "The trainer \"%1\" asks for the value to poke "
                                                  "at the address %2: a number from 0 to 255.")
                                 .arg(option.trainer.name, QString::number(poke.target));
            request.title = QCoreApplication::translate("TrainerChoice", "Trainers");
            request.snapshotPath = m_path;
            const InputAnswer answer = prompts.input(request);
            if (answer.answer != Answer::Ok)
                return false;
            bool number = false;
            const uint value = answer.text.trimmed().toUInt(&number);
            if (number && value <= 255) {
                asked.append(static_cast<quint8>(value));
                break;
            }
            prompts.message(QCoreApplication::translate(
                                "TrainerChoice",
                                "The value \"%1\" is refused: a poke's value is a number "
                                "from 0 to 255.")
                                .arg(answer.text),
                            kAppTitle, Icon::Exclamation, Buttons::Ok);
        }
    }
    option.chosen = settleTrainer(option.trainer, asked);
    return true;
}

QList<Trainer> TrainerChoice::chosen() const
{
    QList<Trainer> trainers;
    for (const TrainerOption& option : m_options) {
        if (option.chosen)
            trainers.append(*option.chosen);
    }
    return trainers;
}

} // namespace tessel
