#pragma once

#include <functional>
#include <unordered_map>

#include "links/families.h"

struct LinkEnvironment;
class CellLinks;
class datCh;

// One evaluation as the link behaviours see it: the request, the environment
// and the record the cell addresses.
struct LinkCall {
  cmcCellCapsule& request;
  LinkEnvironment& environment;
  LinkServices services;
  CellLinks& links;
  datCh& record;  // loaded for the channel cell types
  int type;
  int link;
  std::int32_t number;  // the channel (or entry) number
  bool channelType;
  bool inUse;          // for channel types: the channel holds a frequency
  int changeBits = 0;  // bits beyond "modified" that the behaviour adds
};

using LinkBehaviour = std::function<LinkOutcome(LinkCall&)>;

// Link id to behaviour. Each family registers its rows; a later family adds
// its own rows the same way.
class LinkTable {
 public:
  void Add(int link, LinkBehaviour behaviour) { behaviours_[link] = std::move(behaviour); }
  const LinkBehaviour* Find(int link) const {
    auto found = behaviours_.find(link);
    return found == behaviours_.end() ? nullptr : &found->second;
  }

  // The table of every link that is built.
  static const LinkTable& Instance();

 private:
  std::unordered_map<int, LinkBehaviour> behaviours_;
};

// The registrations, one per group of links.
void AddChannelLinks(LinkTable& table);
void AddGeneralLinks(LinkTable& table);
void AddCloneInfoLinks(LinkTable& table);
