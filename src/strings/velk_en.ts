<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="Err_MIDIOpen">
        <source>Err_MIDIOpen</source>
        <translation>The amplifier's MIDI port could not be opened. Check that no other program holds it, then reconnect the USB cable.</translation>
    </message>
    <message id="Err_MIDISend">
        <source>Err_MIDISend</source>
        <translation>A message could not be sent to the amplifier. Check the USB connection.</translation>
    </message>
    <message id="Err_ReceiveData">
        <source>Err_ReceiveData</source>
        <translation>The amplifier rejected the data it was sent.</translation>
    </message>
    <message id="Err_FIRData_Write">
        <source>Err_FIRData_Write</source>
        <translation>The amplifier could not write the impulse response into its memory.</translation>
    </message>
    <message id="Err_Timeout">
        <source>Err_Timeout</source>
        <translation>The amplifier did not answer in time.</translation>
    </message>
    <message id="Err_FIRFile_Open">
        <source>Err_FIRFile_Open</source>
        <translation>The file could not be opened, or it is not a WAV or AIFF file.</translation>
    </message>
    <message id="Err_FIRFile_Channel">
        <source>Err_FIRFile_Channel</source>
        <translation>The file must have one or two channels.</translation>
    </message>
    <message id="Err_FIRFile_SampleRate">
        <source>Err_FIRFile_SampleRate</source>
        <translation>The file's sample rate must be 44100 Hz.</translation>
    </message>
    <message id="Err_FIRFile_SampleSize">
        <source>Err_FIRFile_SampleSize</source>
        <translation>The file's samples must be 16, 24 or 32 bits.</translation>
    </message>
    <message id="Err_FIRFile_Read">
        <source>Err_FIRFile_Read</source>
        <translation>The file could not be read.</translation>
    </message>
    <message id="Err_Unknown">
        <source>Err_Unknown</source>
        <translation>An unexpected error occurred.</translation>
    </message>
    <message id="Cli_Usage">
        <source>Cli_Usage</source>
        <translation>Usage: velkctl COMMAND [ARGUMENTS] [OPTIONS]</translation>
    </message>
    <message id="Cli_Commands">
        <source>Cli_Commands</source>
        <translation>Commands:</translation>
    </message>
    <message id="Cli_SeeHelp">
        <source>Cli_SeeHelp</source>
        <translation>Run "%1" for details.</translation>
    </message>
    <message id="Cli_Err_UnknownCommand">
        <source>Cli_Err_UnknownCommand</source>
        <translation>unknown command "%1".</translation>
    </message>
    <message id="Cli_Err_UnknownOption">
        <source>Cli_Err_UnknownOption</source>
        <translation>unknown option "%1".</translation>
    </message>
    <message id="Cli_Err_MissingValue">
        <source>Cli_Err_MissingValue</source>
        <translation>the option "%1" needs a value.</translation>
    </message>
    <message id="Cli_Err_UnexpectedValue">
        <source>Cli_Err_UnexpectedValue</source>
        <translation>the option "%1" takes no value.</translation>
    </message>
    <message id="Cli_Err_MissingFile">
        <source>Cli_Err_MissingFile</source>
        <translation>no FILE given: name a WAV or AIFF impulse-response file.</translation>
    </message>
    <message id="Cli_Err_ExtraArgument">
        <source>Cli_Err_ExtraArgument</source>
        <translation>unexpected argument "%1".</translation>
    </message>
    <message id="Cli_Err_BadChannel">
        <source>Cli_Err_BadChannel</source>
        <translation>the channel must be "left" or "right", not "%1".</translation>
    </message>
    <message id="Cli_IrShow_Summary">
        <source>Cli_IrShow_Summary</source>
        <translation>Show what the amplifier would receive from an impulse-response file.</translation>
    </message>
    <message id="Cli_IrShow_Help">
        <source>Cli_IrShow_Help</source>
        <translation>Loads FILE exactly as the speaker simulation panel does and prints the IR name the panel gives it,
the file's channels, sample rate, sample size and sample frames, the channel read, and the 2048
coefficients sent to the amplifier (the first 2048 frames of that channel as signed 16-bit values,
zero-filled when the file is shorter).

FILE                    a .wav, .aif or .aiff file: 44100 Hz, one or two channels, 16, 24 or 32 bits.
--channel left|right    the channel read from a stereo file (default left); a mono file always gives
                        its only channel.
--json                  print one JSON object: {"name", "channels", "sampleRate", "sampleSize",
                        "frames", "channel" (0 left, 1 right), "coefficients" (2048 integers)}.
--help                  show this help.

Exit status: 0 done, 1 wrong arguments, 2 the file cannot be used. A file error is printed on stderr
as "error CODE (KEY): TEXT"; with --json, {"error":CODE,"key":"KEY"} is also printed on stdout.</translation>
    </message>
    <message id="Cli_IrShow_Name">
        <source>Cli_IrShow_Name</source>
        <translation>IR name: %1</translation>
    </message>
    <message id="Cli_IrShow_Channels">
        <source>Cli_IrShow_Channels</source>
        <translation>Channels: %1</translation>
    </message>
    <message id="Cli_IrShow_SampleRate">
        <source>Cli_IrShow_SampleRate</source>
        <translation>Sample rate: %1 Hz</translation>
    </message>
    <message id="Cli_IrShow_SampleSize">
        <source>Cli_IrShow_SampleSize</source>
        <translation>Sample size: %1 bits</translation>
    </message>
    <message id="Cli_IrShow_Frames">
        <source>Cli_IrShow_Frames</source>
        <translation>Sample frames: %1</translation>
    </message>
    <message id="Cli_IrShow_Channel">
        <source>Cli_IrShow_Channel</source>
        <translation>Channel read: %1</translation>
    </message>
    <message id="Cli_IrShow_Coefficients">
        <source>Cli_IrShow_Coefficients</source>
        <translation>Coefficients (%1):</translation>
    </message>
    <message id="Cli_Channel_Left">
        <source>Cli_Channel_Left</source>
        <translation>left</translation>
    </message>
    <message id="Cli_Channel_Right">
        <source>Cli_Channel_Right</source>
        <translation>right</translation>
    </message>
    <message id="Cli_Err_BadMidiService">
        <source>Cli_Err_BadMidiService</source>
        <translation>the MIDI service must be "auto", "alsa" or "jack", not "%1".</translation>
    </message>
    <message id="Cli_List_Summary">
        <source>Cli_List_Summary</source>
        <translation>List the MIDI sources and destinations, marking the amplifier's.</translation>
    </message>
    <message id="Cli_List_Help">
        <source>Cli_List_Help</source>
        <translation>Lists the MIDI sources (where the amplifier's replies come from) and destinations (where requests
go) of the MIDI service in use, each with the index that opens it, marking with "*" those whose name
contains "VelkSolvo/": the editor connects to the first such source and destination.

--midi auto|alsa|jack   the MIDI service: by default (auto) the ALSA sequencer when it can be opened,
                        else JACK when a server runs.
--json                  print one JSON object: {"service", "sources", "destinations"}, each endpoint
                        as {"index", "name", "amplifier"}; without a service, {"service":null,"reason"}.
--help                  show this help.

Exit status: 0 done, 1 wrong arguments, 3 no MIDI service (the reason is printed on stderr).</translation>
    </message>
    <message id="Cli_List_Service">
        <source>Cli_List_Service</source>
        <translation>MIDI service: %1</translation>
    </message>
    <message id="Cli_List_ServiceAlsa">
        <source>Cli_List_ServiceAlsa</source>
        <translation>ALSA sequencer</translation>
    </message>
    <message id="Cli_List_ServiceJack">
        <source>Cli_List_ServiceJack</source>
        <translation>JACK</translation>
    </message>
    <message id="Cli_List_ServiceVirtual">
        <source>Cli_List_ServiceVirtual</source>
        <translation>in-process</translation>
    </message>
    <message id="Cli_List_Sources">
        <source>Cli_List_Sources</source>
        <translation>Sources:</translation>
    </message>
    <message id="Cli_List_Destinations">
        <source>Cli_List_Destinations</source>
        <translation>Destinations:</translation>
    </message>
    <message id="Cli_List_None">
        <source>Cli_List_None</source>
        <translation>none</translation>
    </message>
    <message id="Cli_List_Mark">
        <source>Cli_List_Mark</source>
        <translation>* the amplifier's ports (names containing "%1")</translation>
    </message>
    <message id="Cli_List_NoService">
        <source>Cli_List_NoService</source>
        <translation>no MIDI service: %1.</translation>
    </message>
    <message id="AppName">
        <source>AppName</source>
        <translation>Velk Vovezid</translation>
    </message>
    <message id="Err_AlertDetail">
        <source>Err_AlertDetail</source>
        <translation>Error %1</translation>
    </message>
    <message id="Tab_EffectSettingsAmpI">
        <source>Tab_EffectSettingsAmpI</source>
        <translation>Effects · Amp I</translation>
    </message>
    <message id="Tab_EffectSettingsAmpII">
        <source>Tab_EffectSettingsAmpII</source>
        <translation>Effects · Amp II</translation>
    </message>
    <message id="Tab_SpeakerSimulationAmpI">
        <source>Tab_SpeakerSimulationAmpI</source>
        <translation>Speaker Simulation · Amp I</translation>
    </message>
    <message id="Tab_SpeakerSimulationAmpII">
        <source>Tab_SpeakerSimulationAmpII</source>
        <translation>Speaker Simulation · Amp II</translation>
    </message>
    <message id="Status_Searching">
        <source>Status_Searching</source>
        <translation>Searching for the amplifier… Connect it with a USB cable and switch it on.</translation>
    </message>
    <message id="Status_Opened">
        <source>Status_Opened</source>
        <translation>Amplifier found; waiting for it to answer…</translation>
    </message>
    <message id="Status_ConnectedSingle">
        <source>Status_ConnectedSingle</source>
        <translation>Connected to the single-amp head.</translation>
    </message>
    <message id="Status_ConnectedDual">
        <source>Status_ConnectedDual</source>
        <translation>Connected to the dual-amp head.</translation>
    </message>
    <message id="Status_ReadingSingle">
        <source>Status_ReadingSingle</source>
        <translation>Connected to the single-amp head (firmware %1); reading its settings…</translation>
    </message>
    <message id="Status_ReadingDual">
        <source>Status_ReadingDual</source>
        <translation>Connected to the dual-amp head (firmware %1); reading its settings…</translation>
    </message>
    <message id="Status_ReadySingle">
        <source>Status_ReadySingle</source>
        <translation>Connected to the single-amp head (firmware %1).</translation>
    </message>
    <message id="Status_ReadyDual">
        <source>Status_ReadyDual</source>
        <translation>Connected to the dual-amp head (firmware %1).</translation>
    </message>
    <message id="Status_Disconnected">
        <source>Status_Disconnected</source>
        <translation>The amplifier stopped answering; searching again…</translation>
    </message>
    <message id="Status_NoMidiService">
        <source>Status_NoMidiService</source>
        <translation>No MIDI service is available: %1</translation>
    </message>
    <message id="Status_Simulated">
        <source>Status_Simulated</source>
        <translation>Simulated amplifier</translation>
    </message>
    <message id="BoosterWhiteLabel">
        <source>BoosterWhiteLabel</source>
        <translation>White booster</translation>
    </message>
    <message id="BoosterGreenLabel">
        <source>BoosterGreenLabel</source>
        <translation>Green booster</translation>
    </message>
    <message id="BoosterAmberLabel">
        <source>BoosterAmberLabel</source>
        <translation>Amber booster</translation>
    </message>
    <message id="ReverbSpringLabel">
        <source>ReverbSpringLabel</source>
        <translation>Spring reverb</translation>
    </message>
    <message id="ReverbPlateLabel">
        <source>ReverbPlateLabel</source>
        <translation>Plate reverb</translation>
    </message>
    <message id="ReverbRoomLabel">
        <source>ReverbRoomLabel</source>
        <translation>Room reverb</translation>
    </message>
    <message id="ReverbHallLabel">
        <source>ReverbHallLabel</source>
        <translation>Hall reverb</translation>
    </message>
    <message id="AmpType0">
        <source>AmpType0</source>
        <translation>Clean</translation>
    </message>
    <message id="AmpType1">
        <source>AmpType1</source>
        <translation>Crunch</translation>
    </message>
    <message id="AmpType2">
        <source>AmpType2</source>
        <translation>Drive</translation>
    </message>
    <message id="AmpType3">
        <source>AmpType3</source>
        <translation>Lead</translation>
    </message>
    <message id="AmpType4">
        <source>AmpType4</source>
        <translation>High Gain</translation>
    </message>
    <message id="AskPrimaryCh_Message">
        <source>AskPrimaryCh_Message</source>
        <translation>This impulse response file is stereo.</translation>
    </message>
    <message id="AskPrimaryCh_Info">
        <source>AskPrimaryCh_Info</source>
        <translation>Which of its channels should the amplifier use?</translation>
    </message>
    <message id="AskPrimaryCh_Button_L_CH">
        <source>AskPrimaryCh_Button_L_CH</source>
        <translation>Left Channel</translation>
    </message>
    <message id="AskPrimaryCh_Button_R_CH">
        <source>AskPrimaryCh_Button_R_CH</source>
        <translation>Right Channel</translation>
    </message>
    <message id="ResetIRDataTitle">
        <source>ResetIRDataTitle</source>
        <translation>Reset all impulse responses?</translation>
    </message>
    <message id="ResetIRDataMessage">
        <source>ResetIRDataMessage</source>
        <translation>Every impulse response stored in the amplifier is replaced by its factory setting. This cannot be undone.</translation>
    </message>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Art_Channel">
        <source>Art_Channel</source>
        <translation>CHANNEL</translation>
    </message>
    <message id="Art_AmpI">
        <source>Art_AmpI</source>
        <translation>AMP I</translation>
    </message>
    <message id="Art_AmpII">
        <source>Art_AmpII</source>
        <translation>AMP II</translation>
    </message>
    <message id="Art_FxLoop">
        <source>Art_FxLoop</source>
        <translation>FX LOOP</translation>
    </message>
    <message id="Art_On">
        <source>Art_On</source>
        <translation>ON</translation>
    </message>
    <message id="Art_NoiseGate">
        <source>Art_NoiseGate</source>
        <translation>NOISE GATE</translation>
    </message>
    <message id="Art_NoiseGateOff">
        <source>Art_NoiseGateOff</source>
        <translation>OFF</translation>
    </message>
    <message id="Art_NoiseGateLow">
        <source>Art_NoiseGateLow</source>
        <translation>LOW</translation>
    </message>
    <message id="Art_NoiseGateMid">
        <source>Art_NoiseGateMid</source>
        <translation>MID</translation>
    </message>
    <message id="Art_NoiseGateHigh">
        <source>Art_NoiseGateHigh</source>
        <translation>HIGH</translation>
    </message>
    <message id="Art_Booster">
        <source>Art_Booster</source>
        <translation>BOOSTER</translation>
    </message>
    <message id="Art_Reverb">
        <source>Art_Reverb</source>
        <translation>REVERB</translation>
    </message>
    <message id="Art_White">
        <source>Art_White</source>
        <translation>WHITE</translation>
    </message>
    <message id="Art_Green">
        <source>Art_Green</source>
        <translation>GREEN</translation>
    </message>
    <message id="Art_Amber">
        <source>Art_Amber</source>
        <translation>AMBER</translation>
    </message>
    <message id="Art_Spring">
        <source>Art_Spring</source>
        <translation>SPRING</translation>
    </message>
    <message id="Art_Plate">
        <source>Art_Plate</source>
        <translation>PLATE</translation>
    </message>
    <message id="Art_Room">
        <source>Art_Room</source>
        <translation>ROOM</translation>
    </message>
    <message id="Art_Hall">
        <source>Art_Hall</source>
        <translation>HALL</translation>
    </message>
    <message id="Art_StoredIr">
        <source>Art_StoredIr</source>
        <translation>IMPULSE RESPONSE IN THE AMP</translation>
    </message>
    <message id="Art_AmpType">
        <source>Art_AmpType</source>
        <translation>AMP TYPE</translation>
    </message>
    <message id="Art_IrName">
        <source>Art_IrName</source>
        <translation>IR NAME</translation>
    </message>
    <message id="Art_IrGain">
        <source>Art_IrGain</source>
        <translation>IR GAIN</translation>
    </message>
    <message id="Art_IrFiles">
        <source>Art_IrFiles</source>
        <translation>IMPULSE RESPONSE FILES</translation>
    </message>
    <message id="Art_Gain">
        <source>Art_Gain</source>
        <translation>PREVIEW GAIN</translation>
    </message>
    <message id="Art_Bypass">
        <source>Art_Bypass</source>
        <translation>BYPASS</translation>
    </message>
    <message id="Art_Install">
        <source>Art_Install</source>
        <translation>INSTALL</translation>
    </message>
    <message id="Art_InstallHint">
        <source>Art_InstallHint</source>
        <translation>STORE IN THE AMP</translation>
    </message>
    <message id="Launch_Description">
        <source>Launch_Description</source>
        <translation>Editor for the Velk amplifier heads over USB-MIDI.</translation>
    </message>
    <message id="Launch_Simulate">
        <source>Launch_Simulate</source>
        <translation>Run against the built-in simulated amplifier, a single-amp or dual-amp head, instead of a real one.</translation>
    </message>
    <message id="Launch_Midi">
        <source>Launch_Midi</source>
        <translation>The MIDI service to look for the amplifier on: auto (ALSA, else JACK), alsa or jack.</translation>
    </message>
    <message id="Launch_Screenshot">
        <source>Launch_Screenshot</source>
        <translation>Draw the main window into a PNG file once the amplifier's settings have been read, then quit.</translation>
    </message>
    <message id="Launch_BadSimulate">
        <source>Launch_BadSimulate</source>
        <translation>--simulate takes single or dual, not “%1”.</translation>
    </message>
    <message id="Launch_BadMidi">
        <source>Launch_BadMidi</source>
        <translation>--midi takes auto, alsa or jack, not “%1”.</translation>
    </message>
    <message id="Launch_ScreenshotFailed">
        <source>Launch_ScreenshotFailed</source>
        <translation>The screenshot could not be written to %1.</translation>
    </message>
</context>
</TS>
