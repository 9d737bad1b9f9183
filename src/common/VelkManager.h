#pragma once

#include "common/FIRCOE.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <queue>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The model of a head, as eVelkEvent_Connected and getModel() give it: its number of amps.
inline constexpr int32_t kSingleAmpHead = 1;
inline constexpr int32_t kDualAmpHead = 2;

// What the device manager announces to its listeners; the data argument of each is noted.
enum EVelkEventID : int32_t {
    eVelkEvent_Error = 0,               // error code of the failed request
    eVelkEvent_Opened = 1,              // 0
    eVelkEvent_Connected = 2,           // model: 1 single-amp head, 2 dual-amp head
    eVelkEvent_Disconnected = 4,        // 0
    eVelkEvent_NotConnected = 5,        // 0
    eVelkEvent_AllDataReceived = 6,     // 0
    eVelkEvent_AmpTypeChanged = 7,      // amp
    eVelkEvent_BypassSent = 8,          // amp
    eVelkEvent_FIRCOESent = 9,          // amp
    eVelkEvent_FIRPacketAccepted = 10,  // data 1 of the reply
    eVelkEvent_FIRPacketRejected = 11,  // data 1 of the reply
    eVelkEvent_FIRWriteDone = 12,       // amp
    eVelkEvent_FIRWriteFailed = 13,     // amp
    eVelkEvent_FIRDataInitialized = 14,
    eVelkEvent_MainVersion = 15,  // the main firmware version
};

// Called synchronously on the thread that raises the event; it must return quickly, must not
// block and must not post requests itself (it only hands the event on to its own thread).
using ListenerCallback = void (*)(EVelkEventID event, int32_t data, void* userData);

// The work the windows hand to the utility thread.
enum eVelkRequestEvent : int32_t {
    eVelkRequest_Open = 0,
    eVelkRequest_Close = 1,
    eVelkRequest_AllBulkDump = 2,
    eVelkRequest_BoosterType = 3,       // amp, booster type
    eVelkRequest_FxLoop = 4,            // amp, on/off
    eVelkRequest_ReverbType = 5,        // amp, reverb type
    eVelkRequest_NoiseGate = 6,         // amp, value
    eVelkRequest_SendConnection = 7,    // value
    eVelkRequest_ReturnConnection = 8,  // value
    eVelkRequest_FIRGain = 9,           // amp, gain word
    eVelkRequest_Bypass = 10,           // amp
    eVelkRequest_FIRDataWrite = 11,     // amp
    eVelkRequest_FIRCOE = 12,           // amp; the record staged with setSpeakerTabFIRCOE
    eVelkRequest_ChangeFIR = 13,        // amp
    eVelkRequest_FIRName = 14,          // amp; the name staged with setSpeakerTabIrName
    eVelkRequest_InitFIRData = 15,
    eVelkRequest_MainVersion = 16,
    // amp, amp type: the flash write, sent only while the amp still has that amp type. An amp
    // type change reloads the play buffer, so what it plays then is not what the caller streamed.
    eVelkRequest_FIRDataWriteOfAmpType = 17,
};

struct VelkRequestEvent {
    int32_t kind;
    int32_t arg1;
    int32_t arg2;
};

// The effect settings of one amp (the amp type is read with getAmpType).
struct EffectData {
    int32_t ampType;
    int32_t boosterType;
    int32_t fxLoop;
    int32_t reverbType;
    int32_t noiseGate;
};

struct FxLoopConnection {
    int32_t sendConnection;
    int32_t returnConnection;
};

// The process's one conversation with the amplifier: its mirrored state, the request queue and
// the utility thread that carries requests out, the receive path on the MIDI input thread, the
// connection life cycle, and the listeners every change is announced to.
class CVelkManager {
public:
    // ---- Life cycle
    static void initialize();
    static void terminate();
    static CVelkManager* instance();
    static void MIDINotifyProc(const void* message, void* refCon);

    void start();
    void stop();
    void createSubThread();
    void destroySubThread();

    // ---- Listeners
    void addListenerCallback(ListenerCallback callback, void* userData);
    void removeListenerCallback(ListenerCallback callback);
    void notifyVelkEvent(EVelkEventID event, int32_t data);

    // ---- Regions
    void beginBufferAccess();
    void endBufferAccess();
    void beginInfoAccess();
    void endInfoAccess();

    // ---- Information (under the info lock)
    unsigned char getModel();
    void setModel(unsigned char model);
    bool isConnected();
    bool isEnableFxLoopConnection();
    void enableFxLoopConnection(bool enable);
    // Whether a head of that model and main firmware has the FX loop send and return setting:
    // the dual-amp head (2) with main firmware 42 to 49 or above 109.
    static bool fxLoopConnectionExists(int32_t model, int32_t mainVersion);
    void initInfo();
    uint16_t getMainVer();
    void setMainVer(uint16_t version);

    // ---- Amplifier state mirror (under the buffer lock unless noted)
    void initEffectData();
    void initFIRCOE();  // no lock: runs before any thread exists
    bool getEffectData(int amp, EffectData& out);
    bool getFxLoopConnection(FxLoopConnection& out);
    int getAmpType(int amp);
    bool getPlayBuffer(int amp, FIRCOE& out);
    bool setPlayBuffer(int amp, const FIRCOE& in);
    // The stored impulse response of FIR slot 0 to 9 as far as the mirror knows it: the full read
    // fills its name and gain, a confirmed flash write the whole record. False for another slot.
    bool getFirSlot(int slot, FIRCOE& out);
    void setFlashBuffer(int amp);
    // Staging for the next eVelkRequest_FIRCOE / eVelkRequest_FIRName, written on the main thread
    // just before the request is posted; the request takes its copy when it starts.
    void setSpeakerTabFIRCOE(const FIRCOE& in);
    void setSpeakerTabIrName(const char* name);  // exactly 64 bytes, zero-filled by the caller

    // ---- Gain conversions
    static double gainIndex2dB(int index);
    static int16_t shortGain(double dB);
    static double doubleGain(int16_t gain);
    static int16_t long2short(int64_t value);

    // ---- Requests and the utility thread
    void sendRequest(eVelkRequestEvent kind, int32_t arg1, int32_t arg2);
    void clearRequestEvent();
    void deleteLongMessage();
    void doRequestEvent();
    static void* velkUtilityThread(void* unused);

    // ---- Connection (utility thread)
    // The text that names the amplifier's ports, "VelkSolvo/" unless the user names another:
    // openVelk takes the first source and the first destination whose name contains it.
    void setDeviceModelText(const std::string& text);
    std::string getDeviceModelText();
    // Any thread: the next pass drops the connection and lets the MIDI service go, so that the
    // next eVelkRequest_Open looks again with the current text and service choice.
    void reconnect();
    void openVelk();
    void closeVelk();
    void openMidiIn(int32_t sourceIndex);
    void openMidiOut(int32_t destinationIndex);
    void checkConnection();
    void sendHeartBeatRequest();
    void disconnected();
    // True when the last disconnection came from a heartbeat that named another model.
    bool disconnectedByModelChange() const;
    void sendAllBulkDump();

    // ---- Receive path (MIDI input thread)
    static void procMIDIIn(void* userData, const uint8_t* bytes, uint32_t length);
    void handleMIDIIn(const uint8_t* bytes, uint32_t length);
    void receiveHeartBeatMessage(const uint8_t* bytes, uint32_t length);
    void receiveParameterChange(const uint8_t* bytes, uint32_t length);
    void receiveBulkDump(const uint8_t* bytes, uint32_t length);
    bool getBulkType(const uint8_t* bytes, int32_t& blockType);
    void receiveBulkDumpEffectData(const uint8_t* bytes, uint32_t length);
    void receiveBulkDumpFIRHeader(const uint8_t* bytes, uint32_t length, int32_t blockType);
    void receiveParamEffectData(const uint8_t* bytes, uint32_t length);
    void receiveParamFIR(const uint8_t* bytes, uint32_t length);
    void receiveParamUpdater(const uint8_t* bytes, uint32_t length);
    // The utility thread's wait for the reply named by m_ExpectedID (at most 5000 ms).
    bool checkReceiveMessage();

    // ---- Single-message commands (utility thread)
    bool sendDumpRequest(int index);
    void sendBoosterType(int amp, int value);
    void sendFxLoop(int amp, int value);
    void sendReverbType(int amp, int value);
    void sendNoiseGate(int amp, int value);
    void sendSendConnection(int value);
    void sendReturnConnection(int value);
    void sendChangeFIR(int amp);
    void sendFIRName(int amp, const char* name);
    void sendFIRGain(int amp, int gain);
    void sendFIRDataWriteReq(int amp);
    void sendFIRDataWriteReqIfAmpType(int amp, int ampType);
    void sendInitFIRDataReq();
    void sendMainVerReq();

    // ---- Coefficient transfer (utility thread)
    int sendPlayBuffer(int amp);
    void sendFIRCOE(int amp, FIRCOE& record);
    void sendBypassData(int amp);

    // ---- Framing (utility thread)
    void setDumpReqHeader(int index, uint8_t* out);
    uint16_t sendParameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2);
    int calcSum(const uint8_t* data, int first, int last) const;
    int mi_getBulkDumpHeader(uint8_t* out, uint16_t size);
    uint16_t mi_convToBulkData(uint8_t* out, uint8_t* in, uint16_t inLength, uint8_t* checksum,
                               const uint8_t* head, uint16_t headLength);
    uint16_t mi_sendBulk(uint16_t size, uint8_t* message, uint8_t checksum);
    uint16_t mi_sendPacket(uint16_t packetNumber, const uint8_t* source, uint16_t length, uint16_t amp);
    uint16_t mi_sendBuffer(const uint8_t* bytes, uint16_t length);

    ~CVelkManager();
    CVelkManager(const CVelkManager&) = delete;
    CVelkManager& operator=(const CVelkManager&) = delete;

private:
    // Tests read the reply bookkeeping, which has no accessor of its own.
    friend struct VelkManagerInspector;

    using CriticalRegion = std::unique_ptr<std::recursive_mutex>;
    using Listener = std::pair<ListenerCallback, void*>;
    class CRegionGuard;

    CVelkManager();

    static void initCriticalSection(CriticalRegion& region);
    static void deleteCriticalSection(CriticalRegion& region);
    static void beginCriticalSection(CriticalRegion& region);
    static void endCriticalSection(CriticalRegion& region);

    static void callListener(ListenerCallback callback, EVelkEventID event, int32_t data, void* userData);
    void runRequest(const VelkRequestEvent& request);
    void takePostedRequests();
    void runQueuedRequests();
    void handleRequestFailure(int32_t errorCode);
    void runUtilityPass();
    void waitForNextPass();
    void expectReply(int32_t id);
    bool isAwaited(int32_t id) const;
    void publishReply(int32_t id);
    void publishDumpReply(int32_t id, bool accepted);
    void receiveFlashWriteReply(uint8_t amp, uint8_t result);
    void receivePacketReply(uint8_t data1, uint8_t result);
    FIRCOE stagedFIRCOE();
    std::array<char, 64> stagedIrName();
    void reconnectNow();
    void sendEffectParameter(int32_t responseID, uint8_t parameter, int value);
    void waitForReplyOrThrow();
    int firNumber(int amp);
    // Makes the amp's play buffer the stored impulse response of its current amp type.
    void selectStoredFIR(int amp);
    int currentSlot(int amp) const;
    void storeEffectByte(uint8_t index, uint8_t value);

    std::thread m_Thread;
    CriticalRegion m_RequestLock;
    CriticalRegion m_BufferLock;
    CriticalRegion m_InfoLock;
    std::atomic<bool> m_StopThread{false};
    // Set by the input thread when a heartbeat names another model; the utility thread's next
    // connection check drops the connection, so only that thread ever empties the queue.
    std::atomic<bool> m_ModelChanged{false};
    std::atomic<bool> m_DisconnectedByModelChange{false};
    uint64_t m_LastHeartBeatRequestMS = 0;
    std::atomic<time_t> m_LastHeartBeatTime{0};
    uint64_t m_LastConnectionCheckMS = 0;
    std::atomic<bool> m_Opened{false};
    std::atomic<bool> m_ReconnectRequested{false};

    // Walks hold the registry lock, so a removal returns only once no other thread can still be
    // calling the removed callback; removals from inside a callback leave a hole until the
    // walk ends, keeping the walk's positions valid.
    std::recursive_mutex m_ListenerLock;
    int m_ListenerWalks = 0;
    std::vector<Listener> m_Listeners;

    std::queue<VelkRequestEvent> m_RequestQueue;
    uint8_t m_EffectData[16] = {};
    FIRCOE m_FirSlots[10] = {};
    FIRCOE m_PlayBuffer[2] = {};

    FIRCOE m_SendBuffer = {};
    uint8_t m_ParamChangeMessage[11] = {};
    uint8_t m_PacketData[448] = {};
    uint8_t m_BulkMessage[532] = {};
    uint8_t m_PacketHeader[12] = {};
    const uint8_t* m_SendBegin = nullptr;
    const uint8_t* m_SendEnd = nullptr;

    std::atomic<int32_t> m_ReceivedID{-1};
    std::atomic<int32_t> m_ReceiveError{0};
    std::atomic<int32_t> m_ReceivedValue{0};
    std::atomic<int32_t> m_ExpectedID{-1};
    // Signalled whenever the receive path stores an awaited response ID, so a reply wait ends at
    // once.
    std::mutex m_ReplyLock;
    std::condition_variable m_ReplyArrived;
    // Wakes the utility thread's pause between passes when a request is posted or it must stop;
    // also guards the requests posted since the current pass took its queue.
    std::mutex m_WakeLock;
    std::condition_variable m_WakeUp;
    bool m_WakeRequested = false;
    std::vector<VelkRequestEvent> m_PostedRequests;

    FIRCOE m_SpeakerTabFirCoe = {};
    char m_SpeakerTabIrName[64] = {};
    unsigned char m_Model = 0;
    uint16_t m_MainVersion = 0;
    bool m_FxLoopConnectionEnabled = false;
    std::string m_DeviceModelText = "VelkSolvo/";

    static std::atomic<CVelkManager*> s_instance;
};
