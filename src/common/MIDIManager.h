#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace midi {
class MidiService;
struct Endpoint;
struct Packet;
struct SysexRequest;
enum class ServiceChoice;
}  // namespace midi

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
    // Opens the platform's service of that choice on the next initialize() (velkctl --midi).
    static void setServiceChoice(midi::ServiceChoice choice);

    static int initialize(MIDINotifyProc notifyProc, void* notifyRefCon);
    static void terminate();
    static CMIDIManager* instance();

    // The open service, or null when none could be opened. Shared and copied because a search for the
    // amp on the utility thread may replace both at any time.
    std::shared_ptr<midi::MidiService> service() const;
    std::string serviceUnavailableReason() const;
    // Closes our ports and lets the service go; the next listing opens the service of the
    // current choice.
    void reselectService();
    // Wraps every service opened from now on, e.g. to watch its traffic; null wraps nothing.
    using ServiceWrapper =
        std::function<std::shared_ptr<midi::MidiService>(std::shared_ptr<midi::MidiService>)>;
    static void setServiceWrapper(ServiceWrapper wrapper);

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

    enum class EndpointSide { Sources, Destinations };

    bool openClient();
    void releaseClient();
    void appendNames(EndpointSide side, std::vector<std::string>& devices);
    std::vector<midi::Endpoint> listEndpoints(EndpointSide side);
    std::vector<midi::Endpoint> recordListing(EndpointSide side);
    std::optional<midi::Endpoint> listedEndpoint(EndpointSide side, uint32_t index);
    int closeMidiInFromDelivery();
    int closeInputPort();
    int closeOutputPort();

    static void procMidiIn(const std::vector<midi::Packet>& packets, void* readRefCon, void* srcConnRefCon);
    static void procMidiOut(midi::SysexRequest* request);
    void assembleMidiIn(const std::vector<midi::Packet>& packets);
    bool deliverMidiIn(std::span<const uint8_t> message);

    std::unique_ptr<SPrivateMember> m_Member;
    // Both guarded by the input lock.
    MidiInCallback m_MidiInCallback = nullptr;
    void* m_MidiInUserData = nullptr;
    std::atomic<bool> m_MidiInStarted = false;
    std::atomic<bool> m_MidiOutStarted = false;

    static CMIDIManager* s_instance;
};
