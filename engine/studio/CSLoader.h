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
// Either form is read whole or not at all: a file that is missing, is not of its
// form, holds an unknown element, attribute or type, a number that is not a finite
// decimal, or nodes nested deeper than kMaxDepth, gives nullptr and a log line.
// Files are found through the search paths, so an uploaded file in front of them
// wins over the project's own. Main thread only.
#include <string>
#include <string_view>

namespace engine {

class Node;

class CSLoader {
public:
    static constexpr int kMaxDepth = 32;

    static CSLoader* getInstance();

    // The tree of a ".csb" file, autoreleased; nullptr when it cannot be read.
    Node* createNode(const std::string& filename);
    // The tree of a ".csd" file, autoreleased; nullptr when it cannot be read.
    Node* createNodeWithFlatBuffersForSimulator(const std::string& filename);

    // The same from the file's bytes; `source` names the file in log lines.
    Node* nodeFromBinary(std::string_view bytes, const std::string& source);
    Node* nodeFromXml(std::string_view text, const std::string& source);

private:
    CSLoader() = default;
};

}  // namespace engine
