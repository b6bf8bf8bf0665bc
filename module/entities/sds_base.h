// Common base of the entity wrappers: the last host result, the list being built or read, and
// the readers of properties that every drawing object has (handle, type, layer, colour).
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/sds.h"

// Failure of a host call. The module itself raises none; the undo-group object swallows one
// that arises while it closes its group.
class CSdsException : public std::runtime_error {
  public:
    explicit CSdsException(const std::string& what, int code = RTERROR)
        : std::runtime_error(what), code(code) {}
    int code;
};

class CSDSBaseClass {
  public:
    CSDSBaseClass() = default;
    // A copy takes the last result only: a list belongs to the wrapper that built or read it.
    CSDSBaseClass(const CSDSBaseClass& other) : status(other.status) {}
    CSDSBaseClass& operator=(const CSDSBaseClass& other);
    virtual ~CSDSBaseClass();

    // Text of the first group 5, "" when the list is null or has none.
    static std::string GetHandle(const resbuf* entityList);
    // Text of the first group 0, "" when there is none.
    static std::string GetTypeName(const resbuf* entityList);
    // The same into a caller's buffer of `size` bytes, cut to fit and always terminated.
    static void GetTypeName(const resbuf* entityList, char* buffer, std::size_t size);
    // The entity name of the first group -1: RTNORM, or RTERROR and `name` untouched.
    static int GetEntityName(const resbuf* entityList, sds_name name);
    // Layer (group 8) of the entity, "" when it cannot be read or has no layer.
    static std::string GetLayer(const sds_name entity);
    // Colour (group 62) of the entity, RTERROR when it cannot be read or has no colour group.
    static int GetColor(const sds_name entity);

    // Host result of the last create or change.
    int status = RTERROR;
    // The list being built or just read; owned, released after every operation.
    resbuf* list = nullptr;

  protected:
    // Hands `list` to sds_entmake (or sds_entmakex for ownerless objects, whose name goes to
    // `made`), keeps the result in `status` and releases the list.
    int MakeFromList(bool ownerless, sds_name made = nullptr);
    void ReleaseList();
};

// The entity type (group 0) of an entity, "" when it cannot be read.
std::string EntityTypeName(const sds_name entity);
// The members of a selection set in its order; none for the null name or a dead set.
std::vector<std::array<long, 2>> SelectionMembers(const sds_name set);
// The members of the pick-first selection (objects the user picked before the command); none
// when nothing is picked.
std::vector<std::array<long, 2>> PickFirstMembers();
