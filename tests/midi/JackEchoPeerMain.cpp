// The echo peer of the JACK end-to-end tests: `jack_echo_peer CLIENT_NAME` joins the current JACK
// server, echoes MIDI from its port "in" to its port "out", prints "ready" once active and leaves
// on SIGTERM (which it also gets when the test program goes) and when the server goes.
#include <jack/jack.h>
#include <jack/midiport.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace {

jack_port_t* g_In = nullptr;
jack_port_t* g_Out = nullptr;

int echo(jack_nframes_t frames, void*) {
    void* in = jack_port_get_buffer(g_In, frames);
    void* out = jack_port_get_buffer(g_Out, frames);
    jack_midi_clear_buffer(out);
    const uint32_t count = jack_midi_get_event_count(in);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in, i) == 0)
            jack_midi_event_write(out, event.time, event.buffer, event.size);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    // Blocked before JACK starts its threads, so that only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    jack_client_t* client = jack_client_open(argv[1], JackNoStartServer, nullptr);
    if (!client)
        return 1;
    g_In = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    g_Out = jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_on_shutdown(
        client, [](void*) { kill(getpid(), SIGTERM); }, nullptr);
    if (!g_In || !g_Out || jack_set_process_callback(client, echo, nullptr) != 0 ||
        jack_activate(client) != 0)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    jack_deactivate(client);
    jack_client_close(client);
    return 0;
}
