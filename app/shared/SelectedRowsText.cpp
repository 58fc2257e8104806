#include "app/shared/SelectedRowsText.h"

#include <QAbstractItemModel>
#include <algorithm>
#include <vector>

namespace {
struct RowSpan
{
    int top;
    int bottom;
};

// The selected rows as spans in list order. Ctrl+clicks leave ranges in the order picked and may
// leave them overlapping; a row must come out once, where it stands.
std::vector<RowSpan> rowSpans(const QItemSelection &selection)
{
    std::vector<RowSpan> spans;
    spans.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange &range : selection) {
        if (range.isValid())
            spans.push_back({range.top(), range.bottom()});
    }
    std::sort(spans.begin(), spans.end(), [](const RowSpan &a, const RowSpan &b) { return a.top < b.top; });
    std::vector<RowSpan> merged;
    for (const RowSpan &span : spans) {
        if (!merged.empty() && span.top <= merged.back().bottom + 1)
            merged.back().bottom = std::max(merged.back().bottom, span.bottom);
        else
            merged.push_back(span);
    }
    return merged;
}
} // namespace

QString SelectedRowsText(
    const QItemSelection &selection, const std::function<void(int row, QString &buffer)> &appendRowText)
{
    if (selection.isEmpty())
        return {};
    const QAbstractItemModel *model = selection.first().model();
    const QModelIndex parent = selection.first().parent();
    if (!model)
        return {};
    QString text;
    bool first = true;
    for (const RowSpan &span : rowSpans(selection)) {
        for (int row = span.top; row <= span.bottom; ++row) {
            if (!first)
                text.append(QLatin1Char('\n'));
            first = false;
            if (appendRowText)
                appendRowText(row, text);
            else
                text.append(model->index(row, 0, parent).data(Qt::DisplayRole).toString());
        }
    }
    // The string grew by doubling: give back the unused end, which the clipboard would keep.
    text.squeeze();
    return text;
}
