<SceneFile><Node Type="Text" FontSize="1e39"/></SceneFile>
