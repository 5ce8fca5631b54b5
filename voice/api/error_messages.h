// The trace lines that go with the library's error codes.
#pragma once

constexpr const char* kMsgNotInitialized = "ERR: Parlo_init not called, or failed";
constexpr const char* kMsgNotConfigured = "WARN: Ombrel needs to be configured";
constexpr const char* kMsgInvalidStruct = "ERR: Parlo_CreatePipeline, invalid struct";
constexpr const char* kMsgNullPipeline = "ERR: NULL passed to Parlo routine";
constexpr const char* kMsgNoPipeline = "ERR: Parlo_CreatePipeline, pipeline could not be created";
