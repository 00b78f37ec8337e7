// Parses any text as a stored form, writes what was understood and parses that again: the
// second reading must give the same controls and values without a complaint.
#include "controls/bevel_button/bevel_button_keys.h"
#include "controls/progress_bar/progress_bar_keys.h"
#include "platform/forms/form_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FormType types[] = {kProgressBarFormType, kBevelButtonFormType};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const FormFile first = parseFormFile(text, "fuzz.form", types);
    const std::string written = writeFormFile(first.instances);
    const FormFile second = parseFormFile(written, "written.form", types);

    bool same = second.diagnostics.empty() && second.instances.size() == first.instances.size();
    for (std::size_t i = 0; same && i < first.instances.size(); ++i) {
        const FormInstance& a = first.instances[i];
        const FormInstance& b = second.instances[i];
        same = a.name == b.name && a.typeName == b.typeName && a.bag == b.bag;
    }
    if (!same) {
        std::fprintf(stderr, "written form does not read back the same:\n%s\n", written.c_str());
        for (const FormDiagnostic& d : second.diagnostics)
            std::fprintf(stderr, "  %s\n", d.text().c_str());
        std::abort();
    }
    return 0;
}
