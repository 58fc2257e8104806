#include "cli/XlsxLibrary.h"

#include <cstring>
#include <dlfcn.h>

namespace {
// A symbol's address as the function pointer it is (POSIX guarantees the two convert).
template <typename Function> bool resolve(void *library, const char *name, Function &function)
{
    void *symbol = dlsym(library, name);
    static_assert(sizeof symbol == sizeof function);
    std::memcpy(&function, &symbol, sizeof function);
    return symbol != nullptr;
}
} // namespace

const XlsxLibrary *XlsxLibrary::open(QString &error)
{
    static XlsxLibrary library;
    static QString failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // Kept open for the rest of the run.
        void *handle = dlopen(TOVISKA_XLSXWRITER_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (!handle || !resolve(handle, "workbook_new_opt", library.newWorkbook)
            || !resolve(handle, "workbook_add_worksheet", library.addWorksheet)
            || !resolve(handle, "worksheet_write_string", library.writeString)
            || !resolve(handle, "workbook_close", library.closeWorkbook)
            || !resolve(handle, "lxw_strerror", library.errorText))
            failure = QStringLiteral("libxlsxwriter could not be loaded: %1").arg(QString::fromLocal8Bit(dlerror()));
    }
    error = failure;
    return failure.isEmpty() ? &library : nullptr;
}
