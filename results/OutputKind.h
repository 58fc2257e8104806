#pragma once

// How results are saved: Option4 "Text File", Option5 "Excel (2 cells)", Option6 "Excel (1 cell)".
enum class OutputKind {
    TextFile,
    WorkbookTwoCells,
    WorkbookOneCell,
    None,
};
