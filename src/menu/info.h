#pragma once

void info();
