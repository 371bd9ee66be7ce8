// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrainersWindow.h"

#include "commands/Prompts.h"
#include "core/Errors.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessel {

namespace {

constexpr int kOptionRole = Qt::UserRole;

// A tree asks its rows' height without their column's width, so long notes
// would be cut; measured at that width they wrap.
class WrappingDelegate final : public QStyledItemDelegate
{
public:
    explicit WrappingDelegate(QTreeView* view)
        : QStyledItemDelegate(view)
        , m_view(view)
    { }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The names set their column's width; only the notes wrap.
        if (index.column() == 0)
            return QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem wrapped(option);
        wrapped.rect.setSize({m_view->header()->sectionSize(index.column()), 1});
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

private:
    QTreeView* m_view;
};

QString pokesShown(const PokFileTrainer& trainer)
{
    QStringList lines;
    for (const PokFilePoke& poke : trainer.pokes)
        lines << (poke.value == kAskedValue
                      ? TrainersWindow::tr("%1: a value you give").arg(poke.target)
                      : TrainersWindow::tr("%1: %2").arg(poke.target).arg(poke.value));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TrainersWindow::TrainersWindow(const SnapshotEntry& entry, const Kit& kit, Prompts& prompts,
                               QWidget* parent)
    : QDialog(parent)
    , m_choice(entry, &kit)
    , m_prompts(prompts)
    , m_snapshot(entry.path)
{
    setObjectName(QStringLiteral("frmTrainers"));
    setWindowTitle(tr("Trainers for \"%1\"").arg(entry.name));

    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("trainerSource"));
    m_source->setWordWrap(true);
    m_source->setTextFormat(Qt::PlainText);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("trainerList"));
    m_list->setAccessibleName(tr("Trainers"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Trainer"), tr("Note")});
    m_list->header()->setStretchLastSection(true);
    m_list->setWordWrap(true);
    m_list->setItemDelegate(new WrappingDelegate(m_list));
    // Rows are measured once; a wider or narrower note column measures them again.
    connect(m_list->header(), &QHeaderView::sectionResized, m_list,
            [this] { m_list->doItemsLayout(); });
    connect(m_list, &QTreeWidget::itemChanged, this, &TrainersWindow::onItemChanged);

    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("trainerProblems"));
    m_problems->setWordWrap(true);
    m_problems->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* open =
        buttons->addButton(tr("&Open Trainer File..."), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("openTrainerFile"));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, &TrainersWindow::openFile);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_source);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_problems);
    layout->addWidget(buttons);
    resize(640, 360);
    fill();
}

void TrainersWindow::openFile()
{
    OpenRequest request;
    request.title = tr("Select a trainer file...");
    request.initialFolder =
        QFileInfo(m_choice.file().isEmpty() ? m_snapshot : m_choice.file()).absolutePath();
    request.filters = {tr("Trainer files (*.pok *.POK)"), tr("All files (*)")};
    const std::optional<QString> chosen = m_prompts.openFileName(request);
    if (!chosen)
        return;
    QString error;
    if (!m_choice.load(*chosen, &error)) {
        m_prompts.message(error, kAppTitle, Icon::Exclamation, Buttons::Ok);
        return;
    }
    fill();
}

QString TrainersWindow::noteOf(const TrainerOption& option) const
{
    const PokFileTrainer& trainer = option.trainer;
    if (!trainer.usable())
        //: %1 is a sentence of its own that names the line of the trainer file.
        return tr("This trainer cannot be used. %1").arg(trainer.problem);
    QStringList notes;
    if (!option.inFile)
        notes << tr("Chosen earlier; the trainer file does not hold it.");
    if (option.otherVersion)
        notes << tr("May be for another version of the game: the snapshot does not hold the "
                    "bytes it expects to replace.");
    if (trainer.asksValue())
        notes << tr("Asks for a value when chosen.");
    return notes.join(QLatin1Char(' '));
}

void TrainersWindow::fill()
{
    m_filling = true;
    m_list->clear();
    const QString snapshot = QFileInfo(m_snapshot).fileName();
    if (!m_choice.fileError().isEmpty())
        m_source->setText(m_choice.fileError());
    else if (m_choice.file().isEmpty())
        m_source->setText(tr("No trainer file was found for %1 (the same name ending in .pok, "
                             "beside it or in a POKES folder there). Open one to choose from "
                             "its trainers.")
                              .arg(snapshot));
    else
        m_source->setText(
            tr("Trainers for %1 from %2. The chosen ones are written into the snapshot's memory "
               "in the image; the snapshot file is not changed.")
                .arg(snapshot, quotedPath(m_choice.file())));
    const QList<TrainerOption>& options = m_choice.options();
    for (int i = 0; i < options.size(); ++i) {
        const TrainerOption& option = options.at(i);
        const PokFileTrainer& trainer = option.trainer;
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, trainer.name.isEmpty() && trainer.line > 0
                             ? tr("(no name, line %1)").arg(trainer.line)
                             : trainer.name);
        item->setText(1, noteOf(option));
        item->setData(0, kOptionRole, i);
        item->setToolTip(0, pokesShown(trainer));
        item->setToolTip(1, item->text(1));
        // Greyed, but still showing that it is not chosen.
        item->setFlags(trainer.usable()
                           ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable
                           : Qt::ItemIsUserCheckable);
        item->setCheckState(0, option.chosen ? Qt::Checked : Qt::Unchecked);
    }
    m_list->resizeColumnToContents(0);
    m_list->setColumnWidth(0, qMin(m_list->columnWidth(0), width() / 2));
    m_problems->setText(m_choice.fileProblems().isEmpty()
                            ? QString()
                            : tr("Lines of the trainer file that belong to no trainer:\n%1")
                                  .arg(m_choice.fileProblems().join(QLatin1Char('\n'))));
    m_problems->setVisible(!m_choice.fileProblems().isEmpty());
    m_filling = false;
}

void TrainersWindow::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0)
        return;
    const int index = item->data(0, kOptionRole).toInt();
    const bool on = item->checkState(0) == Qt::Checked;
    if (m_choice.choose(index, on, m_prompts))
        return;
    m_filling = true;
    item->setCheckState(0, Qt::Unchecked);
    m_filling = false;
}

} // namespace tessel
