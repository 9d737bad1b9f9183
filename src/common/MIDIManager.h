#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace midi {
class MidiService;
}

// Platform MIDI setup-change notification (the device manager hands in one that does nothing).
using MIDINotifyProc = void (*)(const void* message, void* refCon);
// Receives each complete System Exclusive message, F0 to F7, on the service's input thread.
using MidiInCallback = void (*)(void* userData, const uint8_t* bytes, uint32_t length);

// The process's one MIDI port manager: lists devices, opens one input and one output, assembles
// incoming System Exclusive messages and sends them synchronously. Returns service statuses
// (0 = success) and throws nothing.
class CMIDIManager {
public:
    // Which service the next initialize() opens. Tests and the simulator hand in their own
    // (e.g. the in-process virtual service); by default the platform's service is chosen
    // automatically. Set before initialize().
    using ServiceProvider = std::function<std::shared_ptr<midi::MidiService>()>;
    static void setServiceProvider(ServiceProvider provider);

    static int initialize(MIDINotifyProc notifyProc, void* notifyRefCon);
    static void terminate();
    static CMIDIManager* instance();

    // The open service, or null when none could be opened ("why" says what to do).
    midi::MidiService* service() const;
    const std::string& serviceUnavailableReason() const;

    void getMidiInDevices(std::vector<std::string>& devices);
    void getMidiOutDevices(std::vector<std::string>& devices);

    int openMidiIn(uint32_t sourceIndex, MidiInCallback callback, void* userData, int32_t bufferSize);
    int openMidiOut(uint32_t destinationIndex);
    int closeMidiIn();
    int closeMidiOut();
    int startMidiIn();
    int stopMidiIn();
    int startMidiOut();
    int stopMidiOut();
    bool isOpenedMidiIn() const;
    bool isOpenedMidiOut() const;
    bool isStartedMidiIn() const;
    bool isStartedMidiOut() const;
    void healthCheck();

    int sendShortMessage(int32_t channel, int32_t status, int32_t data1, int32_t data2);
    int sendLongMessage(const uint8_t* bytes, int32_t length);  // blocks until sent
    void deleteLongMessageBuffer();

    ~CMIDIManager();

private:
    struct SPrivateMember;
    CMIDIManager(MIDINotifyProc notifyProc, void* notifyRefCon);

    std::unique_ptr<SPrivateMember> m_Member;
    MidiInCallback m_MidiInCallback = nullptr;
    void* m_MidiInUserData = nullptr;
    bool m_MidiInStarted = false;
    bool m_MidiOutStarted = false;

    static CMIDIManager* s_instance;
};
