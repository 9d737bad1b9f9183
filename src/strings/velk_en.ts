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
</context>
</TS>
