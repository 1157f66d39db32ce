<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>BtnNaviga</name>
    <message>
        <source>关</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>RecordWidget</name>
    <message>
        <source>RecordWidget</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>保存文件</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>录音失败：%1</source>
        <translation>Recording failed: %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在剪切 %1 秒到 %2 秒……</source>
        <translation>Cutting %1 s to %2 s ...</translation>
    </message>
    <message>
        <source>正在保存 %1……</source>
        <translation>Saving %1 ...</translation>
    </message>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>无法替换 %1：%2</source>
        <translation>Could not replace %1: %2</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Could not save %1: %2</translation>
    </message>
    <message>
        <source>未找到 ffmpeg。请安装软件包“ffmpeg”（sudo apt install ffmpeg）后重试。</source>
        <translation>ffmpeg was not found. Install the package &quot;ffmpeg&quot; (sudo apt install ffmpeg) and try again.</translation>
    </message>
    <message>
        <source>ffmpeg 失败（退出状态 %1）：%2</source>
        <translation>ffmpeg failed (exit status %1): %2</translation>
    </message>
    <message>
        <source>已取消；未完成的文件已删除。</source>
        <translation>Cancelled; the unfinished file was deleted.</translation>
    </message>
    <message>
        <source>无法读取 %1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>“%1”没有文件类型。请另存为以下类型之一：%2。</source>
        <translation>&quot;%1&quot; has no file type. Save as one of: %2.</translation>
    </message>
    <message>
        <source>“%1”不是已知的文件类型。请另存为以下类型之一：%2。</source>
        <translation>&quot;%1&quot; is no known file type. Save as one of: %2.</translation>
    </message>
</context>
<context>
    <name>TextSlider</name>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
</context>
<context>
    <name>Trans</name>
    <message>
        <source>TargetLanguage</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>WaveformWidget</name>
    <message>
        <source>Form</source>
        <translation>Waveform</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>设备已连接</source>
        <translation>Device connected</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>No device found</translation>
    </message>
</context>
</TS>
