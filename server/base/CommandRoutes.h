// The server's command routes, built from the protocol's one table of commands (proto::kCommandCodes)
// and checked while compiling: the club routes every command but the deal commands, the deal engine
// routes exactly those, so a new command with no route fails the build instead of becoming an
// "unknown command" at run time.
#pragma once

#include <array>
#include <cstddef>

#include "link/Protocol.h"

namespace zn::server {

// The commands the club hands to the deal engine (DealSeam::Command).
inline constexpr std::array<proto::TCommand, 5> kDealCommands = {
    proto::TCommand::Hand, proto::TCommand::Bids, proto::TCommand::Play, proto::TCommand::TrickDone,
    proto::TCommand::Result};

constexpr bool IsDealCommand(proto::TCommand command) {
  for (const proto::TCommand c : kDealCommands)
    if (c == command) return true;
  return false;
}
constexpr bool IsClubCommand(proto::TCommand command) { return !IsDealCommand(command); }

template <class Handler>
struct CommandRoute {
  proto::TCommand command;
  Handler handle;
};

// The handlers indexed by command. Every command that wanted() accepts has exactly one route and no
// other command has one; anything else throws, which fails the constant evaluation.
template <class Handler, std::size_t N>
constexpr std::array<Handler, proto::kCommands> RoutesByCommand(const CommandRoute<Handler> (&routes)[N],
                                                                bool (*wanted)(proto::TCommand)) {
  std::array<Handler, proto::kCommands> byCommand{};
  for (const CommandRoute<Handler>& r : routes) {
    const auto i = static_cast<std::size_t>(r.command);
    if (i >= byCommand.size() || !wanted(r.command)) throw "a command routed where it does not belong";
    if (byCommand[i]) throw "a command routed twice";
    byCommand[i] = r.handle;
  }
  for (std::size_t i = 0; i < byCommand.size(); ++i)
    if (wanted(static_cast<proto::TCommand>(i)) && !byCommand[i]) throw "a command without a route";
  return byCommand;
}

}  // namespace zn::server
