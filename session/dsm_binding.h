// Binding of the Data Source Manager and the one discipline by which every triplet is sent.
#ifndef SCANLINK_SESSION_DSM_BINDING_H
#define SCANLINK_SESSION_DSM_BINDING_H

#include "twain/twain.h"

// Loads the manager from the first of the platform's paths that loads (manager_path.h) and binds
// DSM_Entry, unless that is done already. True when the session is in state 2 or above afterwards.
bool loadSourceManager();

// Sends one triplet from the application's identity, then fetches the condition code from the
// source (state 4 and up) or the manager (state 3). True when the result code is TWRC_SUCCESS,
// TWRC_CHECKSTATUS or TWRC_XFERDONE. A null destination addresses the manager.
bool dsmCall(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

// TWRC_SUCCESS, TWRC_CHECKSTATUS and TWRC_XFERDONE: the results that count as success.
bool inSuccessSet(TW_UINT16 resultCode);

// The same, answering the result code the triplet got. The session's own decisions rest on this
// value, not on the session's codes, which a call refused on another thread may overwrite
// meanwhile.
TW_UINT16 sendTriplet(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                      TW_MEMREF data);

// What a triplet got: its result code and, when the status request answered, its condition code.
struct TripletAnswer {
    TW_UINT16 resultCode;
    bool conditionKnown;
    TW_UINT16 conditionCode;

    bool succeeded() const { return inSuccessSet(resultCode); }
    // Refused as out of sequence: the peer is in another state than the session believes.
    bool outOfSequence() const {
        return !succeeded() && conditionKnown && conditionCode == TWCC_SEQERROR;
    }
};

// The same, answering the condition code too, for the decisions that rest on it.
TripletAnswer askTriplet(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                         TW_MEMREF data);

#endif
