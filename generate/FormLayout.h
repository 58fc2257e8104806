#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

// The one layout of names and their forms that the window's panes and the command line's pools
// share, and the sampler draws from: the forms of name n are forms[starts[n]] to
// forms[starts[n + 1] - 1], those formsOf(n, forms) appends (a spelling each), or, for a name
// it appends none to, the one form withoutReadings.
template <typename Form, typename FormsOf>
void layOutForms(qsizetype names, FormsOf &&formsOf, const Form &withoutReadings, std::vector<std::int32_t> &starts,
    std::vector<Form> &forms)
{
    starts.assign(1, 0);
    starts.reserve(static_cast<std::size_t>(names) + 1);
    forms.clear();
    for (qsizetype name = 0; name < names; ++name) {
        const std::size_t before = forms.size();
        formsOf(name, forms);
        if (forms.size() == before)
            forms.push_back(withoutReadings);
        starts.push_back(static_cast<std::int32_t>(forms.size()));
    }
}
