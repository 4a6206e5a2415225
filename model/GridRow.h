#pragma once
// The cells of a device's scheme-grid row, columns 0 to 9: 0 mode and static flag, 1 name,
// 2 request outputs, 3 and 4 the first and second value, 5 inputs, 6 answer outputs,
// 7 exchange, 8 period, 9 error. The grid implements it; tests use TStringsRow.
#include <QString>
#include <array>

inline constexpr int GridColumnCount = 10;

class TGridRow {
public:
    virtual ~TGridRow() = default;
    // Reading a column outside 0..9 gives the empty text; writing one does nothing.
    virtual QString Cell(int column) const = 0;
    virtual void SetCell(int column, const QString& text) = 0;
};

// A row held as ten strings, with a count of the writes (so that tests see which writes
// happened, not only their results).
class TStringsRow final : public TGridRow {
public:
    QString Cell(int column) const override
    {
        return column >= 0 && column < GridColumnCount ? cells_[column] : QString();
    }
    void SetCell(int column, const QString& text) override
    {
        if (column < 0 || column >= GridColumnCount)
            return;
        cells_[column] = text;
        ++Writes[column];
    }
    std::array<int, GridColumnCount> Writes{};

private:
    std::array<QString, GridColumnCount> cells_;
};
