#pragma once
// Reads studio scene files into node trees.
//
// ".csd" is the scene file's XML form:
//   <SceneFile>
//     <PropertyGroup Type="Node" Name="main"/>
//     <Node Type="Node" Name="root">
//       <Node Type="Text" Name="title" Text="Hello" FontSize="24" PercentX="0.5" PercentY="0.9"/>
//     </Node>
//     <Timeline Duration="60" Speed="1">
//       <Track Target="title" Property="Position"><Frame Index="0" X="0" Y="0"/></Track>
//     </Timeline>
//   </SceneFile>
// The root element holds exactly one Node (the tree), at most one PropertyGroup
// (free-form: it describes the file, and the loader does not read it) and at most
// one Timeline (see studio::timeline::ActionTimelineCache). A Node's attributes:
// Type (required; see engine/studio/NodeSpec.h for the types), Name, X and Y, Width
// and Height, Visible ("true" or "false"), Text, FontSize, Image, Percent, and the
// layout rule read by ui::Helper::doLayout: PercentX and PercentY, PercentWidth and
// PercentHeight (fractions of the parent's size). Paired attributes come together.
// Its child elements are its child Nodes.
//
// ".csb" is the binary form: a SceneFile message of engine/studio/SceneFile.proto
// (the same tree, without a timeline); fields it does not define are skipped.
//
// ".json" is the layout form of studio::GUIReader (engine/studio/GUIReader.h): a
// widget tree whose widgets may carry "options" for script-defined classes.
// All three forms build their nodes through the one step of
// engine/studio/NodeSpec.h, so a type means the same in each.
//
// Each form is read whole or not at all: a file that is missing, is not of its
// form, holds an unknown element, attribute or type, a number that is not a finite
// decimal, or nodes nested deeper than kMaxDepth, gives nullptr and a log line.
// Files are found through the search paths, so an uploaded file in front of them
// wins over the project's own. Main thread only.
#include <functional>
#include <string>
#include <string_view>

namespace studio::timeline {
class ActionTimeline;
}

namespace engine {

class Node;
class Ref;

class CSLoader {
public:
    static constexpr int kMaxDepth = 32;

    static CSLoader* getInstance();

    // The tree of a scene file, autoreleased; nullptr when it cannot be read. The
    // form follows the name's extension: ".csd" XML, ".json" a layout, any other
    // the binary form.
    Node* createNode(const std::string& filename);
    // The same; then `callback` is called on every node of the tree, depth first,
    // parents before their children in child order. Nothing when no tree came.
    Node* createNode(const std::string& filename, const std::function<void(Ref*)>& callback);
    // The tree of a ".csd" file, autoreleased; nullptr when it cannot be read.
    Node* createNodeWithFlatBuffersForSimulator(const std::string& filename);

    // The timeline of a scene file, autoreleased and not yet playing: ".json" a
    // timeline file of its own (studio::timeline::ActionTimelineCache), any other
    // name the ".csd" form's Timeline. nullptr when there is none or it cannot be read.
    studio::timeline::ActionTimeline* createTimeline(const std::string& filename);

    // The same from the file's bytes; `source` names the file in log lines.
    Node* nodeFromBinary(std::string_view bytes, const std::string& source);
    Node* nodeFromXml(std::string_view text, const std::string& source);

private:
    CSLoader() = default;
};

}  // namespace engine
