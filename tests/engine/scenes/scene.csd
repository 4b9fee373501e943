<SceneFile>
  <PropertyGroup Type="Node" Name="main"/>
  <Node Type="Node" Name="root" X="5" Y="6">
    <Node Type="Layout" Name="panel" Width="100" Height="50" PercentX="0.5" PercentY="0.5"
          PercentWidth="0.5" PercentHeight="0.25">
      <Node Type="Text" Name="title" Text="Hello" FontSize="24" PercentX="0.5" PercentY="1"/>
      <Node Type="Button" Name="play" Text="Play" Visible="false"/>
    </Node>
    <Node Type="LoadingBar" Name="bar" Percent="40" X="1" Y="2"/>
  </Node>
  <Timeline Duration="60" Speed="1">
    <Track Target="bar" Property="Position">
      <Frame Index="0" X="0" Y="0"/>
      <Frame Index="60" X="120" Y="60"/>
    </Track>
  </Timeline>
</SceneFile>
