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
    <name>PageSeting</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>通用设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>关于我们</source>
        <translation>About</translation>
    </message>
    <message>
        <source>帮助中心</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>PanelesRight</name>
    <message>
        <source>设备未连接</source>
        <translation>No device found</translation>
    </message>
    <message>
        <source>设备已连接</source>
        <translation>Device connected</translation>
    </message>
    <message>
        <source>录音</source>
        <translation>Recording</translation>
    </message>
</context>
<context>
    <name>PanelesTitle</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PanelsLeft</name>
    <message>
        <source>硬件设置</source>
        <translation>HARDWARE</translation>
    </message>
    <message>
        <source>音量设置 </source>
        <translation>VOLUME </translation>
    </message>
    <message>
        <source>音效选择</source>
        <translation>SOUND EFFECT</translation>
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
    <name>aboutPage</name>
    <message>
        <source>Vorlet PC控制面板 Win客户端</source>
        <translation>Vorlet PC Control Panel for Windows</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version Number:</translation>
    </message>
    <message>
        <source>固件版本号:</source>
        <translation>Firmware version number:</translation>
    </message>
    <message>
        <source>联系我们</source>
        <translation>Contact Us</translation>
    </message>
    <message>
        <source>官方网站：</source>
        <translation>Official Website: </translation>
    </message>
    <message>
        <source>邮箱：</source>
        <translation>E-mail Address: </translation>
    </message>
    <message>
        <source>微信公众号：vorlet</source>
        <translation> </translation>
    </message>
    <message>
        <source>哔哩哔哩：https://video.example/vorlet</source>
        <translation> </translation>
    </message>
    <message>
        <source>官方微博: https://microblog.example/vorlet</source>
        <translation> </translation>
    </message>
</context>
<context>
    <name>generalPage</name>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>helpPage</name>
    <message>
        <source>常见问题</source>
        <translation>FAQs</translation>
    </message>
    <message>
        <source>Q:设备连接电脑指示灯不亮</source>
        <translation>Q:The indicator does not light up after the device is connected to the computer?</translation>
    </message>
    <message>
        <source>Q:电脑播放音乐无声</source>
        <translation>Q: There is no sound when playing music on the computer?</translation>
    </message>
    <message>
        <source>Q:麦克风无声</source>
        <translation>Q: The microphone does not sound?</translation>
    </message>
    <message>
        <source>Q：手机端直播无声</source>
        <translation>Q: There is no sound during live broadcast on mobile phone, and mobile phone audio is externally played?</translation>
    </message>
    <message>
        <source>更多常见问题&gt;&gt;</source>
        <translation>More FAQs &gt;&gt;</translation>
    </message>
    <message>
        <source>帮助中心</source>
        <translation>Help Center</translation>
    </message>
    <message>
        <source>使用手册</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>意见反馈</source>
        <translation>Feedback</translation>
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
