#pragma once
// Processor time this process has used, in seconds (user and system).
double processCpuSeconds();
