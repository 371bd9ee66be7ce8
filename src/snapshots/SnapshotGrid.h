#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>

#include <array>

namespace tessel {

// The list grid msgRom as a model: grid row 0 is the header ("SNAPSHOT",
// "NAME"), grid rows 1..10 are the model's rows 0..9. The current row lives in
// the grid's own selection model, which the view shares; row 0 current means
// that no snapshot row is.
class SnapshotGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kRows = 11;
    static constexpr int kCols = 2;

    explicit SnapshotGrid(QObject* parent = nullptr);

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int row() const;
    void setRow(int row);

    QItemSelectionModel* selectionModel() { return &m_selection; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::array<std::array<QString, kCols>, kRows> m_cells;
    QItemSelectionModel m_selection;
};

} // namespace tessel
