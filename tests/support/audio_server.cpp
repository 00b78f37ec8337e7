#include "support/audio_server.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <cstdlib>
#include <string_view>

bool audioServerAvailable() {
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* ctx = pa_context_new(pa_mainloop_get_api(loop), "sorvinta-test-probe");
    bool ready = false;
    if (pa_context_connect(ctx, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        for (int i = 0; i < 2000; ++i) {
            pa_mainloop_iterate(loop, 1, nullptr);
            const pa_context_state_t st = pa_context_get_state(ctx);
            if (st == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(st))
                break;
        }
    }
    pa_context_disconnect(ctx);
    pa_context_unref(ctx);
    pa_mainloop_free(loop);
    return ready;
}

bool audioServerRequired() {
    const char* value = std::getenv("SORVINTA_REQUIRE_AUDIO");
    return value && std::string_view(value) == "1";
}

std::string audioServerName() {
    const char* value = std::getenv("PULSE_SERVER");
    return value ? value : "";
}
