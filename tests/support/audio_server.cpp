#include "support/audio_server.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>

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
