#pragma once
// Base of every service the player object offers.
namespace player {

class PlayerServiceProtocol {
public:
    virtual ~PlayerServiceProtocol() = default;
};

}  // namespace player
